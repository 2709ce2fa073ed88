#include "app/interface_seams.h"

#include "app/process_objects.h"
#include "dialog/settings_dialog.h"

// The tray icon is not built yet: the main window, the single instance protocol, the
// settings dialog and the exit-time restore work without it.

HWND SettingsDialogWindow() {
    return settingsDialog;
}

void CreateUserInterface() {
    // The dialog goes first: the tray icon takes the dialog's small icon and the disabled
    // state that the dialog has just loaded.
    CreateSettingsDialog(nullptr);
    CreateTrayIconSeam();
}

void CreateTrayIconSeam() {}

void ShowSettingsDialogToFront() {
    HWND dialog = SettingsDialogWindow();
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
}

void RemoveTrayIconSeam() {}

void TrayIconClickedSeam(UINT) {}
