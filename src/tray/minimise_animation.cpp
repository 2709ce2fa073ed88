#include "tray/minimise_animation.h"

// Not built yet: the window hides without an animation.

void MinimiseToTray(HWND window) {
    ShowWindow(window, SW_HIDE);
}
