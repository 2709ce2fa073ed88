// Dark mode for the program's own windows on Windows 10 and later, through the system's
// theme library; every export that is missing makes the feature quietly smaller.
#pragma once
#include <windows.h>

#include "appearance/dark_mode_api.h"

// The dark palette shared by the dialog, the menu bar and the menus.
inline constexpr COLORREF kDarkBackground = 0x202020;
inline constexpr COLORREF kDarkText = 0xDEDEDE;

// Whether the program's windows are drawn dark: start-up decides, and a change of the
// system's app mode or high contrast while the program runs (RefreshDarkMode).
bool IsDarkModeActive();

// Reads the app mode and high contrast again, as start-up did; disable_dark_theme still keeps
// the program light.
void RefreshDarkMode();

// Whether high contrast is on now (asked every time, so a change while the program runs
// counts); then the program's own drawing keeps to the system's colours.
bool IsHighContrastOn();

// Lets the system draw one window dark (the theme export's answer); false where dark mode is
// not supported.
bool AllowDarkModeForWindow(HWND window, BOOL allow);

// Colours a top-level window's title bar to match: dark when the window is allowed dark, the
// user's apps are dark and high contrast is off.
void RefreshTitleBarTheme(HWND window);

// What start-up decides, fixed for the rest of the process.
struct DarkModeState {
    DarkModeApi api;
    DWORD windowsBuild = 0;
    bool supported = false;
    bool enabled = false;  // the user's apps are dark and high contrast is off
    int disableDarkTheme = 0;
};

// Start-up's decisions over a given table and the INI key disable_dark_theme; start-up calls
// it with the system's table and the setting it read. A test may call it again.
void InitDarkModeWith(const DarkModeApi& api, int disableDarkTheme);

const DarkModeState& CurrentDarkMode();
