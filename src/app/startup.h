// The program from start-up to the end of its message loop.
#pragma once
#include <windows.h>

#include "appearance/dark_mode_api.h"

// Start-up's dark-mode step, before the program's first window: dark mode is decided from the
// build and the theme exports in `api` and the setting disable_dark_theme. The creation hook,
// or null when nothing is drawn dark.
HHOOK StartDarkMode(HINSTANCE instance, const DarkModeApi& api);

// Returns the process exit code: the quit message's code, or 1 after an exit broadcast.
int RunVelmora(HINSTANCE instance, const wchar_t* commandLine);
