#include "appearance/menu_images.h"

HICON LoadShellIcon(int id) {
    // shell32 is loaded with the common controls; its module handle never changes.
    static HMODULE shell = GetModuleHandleW(L"shell32");
    return shell != nullptr ? LoadIconW(shell, MAKEINTRESOURCEW(id)) : nullptr;
}

// Not built yet: menus are drawn by the system, without icons.

void InitMenuAppearance() {}

void RegisterCommandImage(UINT, int) {}
