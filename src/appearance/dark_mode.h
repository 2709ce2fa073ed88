// Dark mode for the program's own windows on Windows 10 and later, through the system's
// theme library; every export that is missing makes the feature quietly smaller.
#pragma once
#include <windows.h>

// The dark palette shared by the dialog, the menu bar and the menus.
inline constexpr COLORREF kDarkBackground = 0x202020;
inline constexpr COLORREF kDarkText = 0xDEDEDE;

// The hook that gives each new window of the GUI thread its dark look; null when the program
// does not draw dark.
HHOOK InstallDarkModeHook(HINSTANCE instance);

// Whether the program's windows are drawn dark; fixed once start-up has decided.
bool IsDarkModeActive();

// Lets the system draw one window dark (the theme export's answer); false where dark mode is
// not supported.
bool AllowDarkModeForWindow(HWND window, BOOL allow);

// Colours a top-level window's title bar to match: dark when the window is allowed dark, the
// user's apps are dark and high contrast is off.
void RefreshTitleBarTheme(HWND window);

// SetWindowTheme of the theme library, looked up on first use; 0 when it is missing.
HRESULT ApplyWindowTheme(HWND window, const wchar_t* subAppName, const wchar_t* subIdList);
