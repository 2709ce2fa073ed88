// Following the system's colours while the program runs: a change of the app mode (light or
// dark), of high contrast or of the system colours redraws the program's windows in the new
// look at once.
#pragma once
#include <windows.h>

// Whether `message` reports such a change: WM_SETTINGCHANGE for "ImmersiveColorSet" (the app
// mode) or SPI_SETHIGHCONTRAST, WM_SYSCOLORCHANGE, WM_THEMECHANGED.
bool IsColourSchemeChange(UINT message, WPARAM wParam, LPARAM lParam);

// Reads the app mode and high contrast again and gives `window` (a top-level window of the
// program) and its children the look that follows, then redraws them, frame included. The
// system tells only top-level windows of new system colours: `message` WM_SYSCOLORCHANGE is
// passed on to every child, so the common controls take the new colours too.
void FollowSystemColours(HWND window, UINT message);
