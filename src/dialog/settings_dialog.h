// The settings dialog: Velmora's one window that the user sees. It is created once at
// start-up, loads the settings, drives the auto-hide engine with its timers, and is only
// ever hidden and shown again until the program ends.
#pragma once
#include <windows.h>

inline constexpr UINT_PTR kDialogTimerId = 4000;
inline constexpr UINT kDialogTimerPeriodMs = 200;

// Creates the dialog (modeless, from the template) and shows it unless the program starts in
// the tray (start_tray, or "-bg" on the command line). Sets settingsDialog.
HWND CreateSettingsDialog(HWND parent);

// The dialog procedure.
INT_PTR CALLBACK SettingsDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The toolbar along the dialog's bottom edge; null before the dialog exists.
HWND LinkBarWindow();
