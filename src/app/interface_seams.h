// Where the main window hands over to the settings dialog and the tray icon. The dialog and
// tray subsystems fill these in; until then the program runs with its hidden window alone.
#pragma once
#include <windows.h>

// The settings dialog's window, null until it exists.
HWND SettingsDialogWindow();

// The creation command: creates the settings dialog, then the tray icon.
void CreateUserInterface();

// Adds the tray icon (taking the settings dialog's small icon) and starts its thread.
void CreateTrayIconSeam();

// A second instance announced itself: show the settings dialog and bring it to the front.
void ShowSettingsDialogToFront();

// Removes the tray icon and stops its thread (the exit request).
void RemoveTrayIconSeam();

// A left (513) or right (516) button press on the tray icon.
void TrayIconClickedSeam(UINT mouseMessage);
