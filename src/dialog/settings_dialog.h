// The settings dialog: Velmora's one window that the user sees. It is created once at
// start-up, loads the settings, drives the auto-hide engine with its timers, and is only
// ever hidden and shown again until the program ends.
#pragma once
#include <windows.h>

// The settings dialog's window, null until it exists.
extern HWND settingsDialog;

// Creates the dialog (modeless, from the template) and shows it unless the program starts in
// the tray (start_tray, or `startInBackground` from "-bg" on the command line). Sets
// settingsDialog.
HWND CreateSettingsDialog(HWND parent, bool startInBackground);

// Shows the dialog and brings it to the front, or the modal window open over it (a second
// start of the program asks for it).
void ShowSettingsDialogToFront();

// The dialog procedure.
INT_PTR CALLBACK SettingsDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The toolbar along the dialog's bottom edge; null before the dialog exists.
HWND LinkBarWindow();

// The menu bar under the dialog's header.
class OwnerDrawnMenuBar;
OwnerDrawnMenuBar& DialogMenuBar();
