#include "app/interface_seams.h"

#include "app/process_objects.h"

// The settings dialog and the tray icon are not built yet: the main window, the single
// instance protocol and the exit-time restore work without them.

HWND SettingsDialogWindow() {
    return settingsDialog;
}

void CreateUserInterface() {}

void ShowSettingsDialogToFront() {
    HWND dialog = SettingsDialogWindow();
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
}

void RemoveTrayIconSeam() {}

void TrayIconClickedSeam(UINT) {}
