// "SHELLDLL_DefView": the desktop view. It paints the wallpaper, holds the icon list view,
// answers the shell's toggle command 0x7402 by flipping the HideIcons setting, and opens the
// desktop context menu on a right click on the empty desktop.
#pragma once
#include <windows.h>

namespace standin {

bool RegisterDesktopViewClass(HINSTANCE instance);

// A desktop view filling `host`'s client area, or null. Once its icons are placed it calls
// OnDesktopIconsPlaced (shell_windows.h).
HWND CreateDesktopView(HWND host);

}  // namespace standin
