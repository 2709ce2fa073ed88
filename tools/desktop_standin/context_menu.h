// The desktop's context menus: one for the empty desktop (with submenus, one of them nested
// two deep) and one for an icon. Both open with their top-left corner at the given point, as
// Explorer's do, and are ordinary popup menus (window class "#32768").
#pragma once
#include <windows.h>

namespace standin {

// The commands that do something; every other item is accepted and ignored.
constexpr UINT kShowIconsCommand = 0x7501;  // "Show desktop icons": the same as the toggle 0x7402
constexpr UINT kRefreshCommand = 0x7502;
constexpr UINT kRenameCommand = 0x7503;

// Opens the menu and waits until it closes. Answers the chosen command, or 0.
UINT TrackDesktopMenu(HWND owner, POINT at, bool iconsShown);
UINT TrackIconMenu(HWND owner, POINT at);

// True while one of the menus is open (its modal loop runs on this thread).
bool IsDesktopMenuOpen();

}  // namespace standin
