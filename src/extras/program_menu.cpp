#include "extras/program_menu.h"

// Not built yet: there is no program menu and its commands do nothing.

HMENU BuildProgramMenu() {
    return nullptr;
}

bool RunProgramMenuCommand(HWND, UINT) {
    return false;
}
