#include "appearance/dark_mode.h"

// Not built yet: the program always draws in the light system colours.

void InitDarkMode() {}

HHOOK InstallDarkModeHook(HINSTANCE) {
    return nullptr;
}

bool IsDarkModeActive() {
    return false;
}
