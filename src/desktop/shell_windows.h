// The two shell windows that make the desktop: what every lookup of them returns.
#pragma once
#include <windows.h>

struct DesktopWindows {
    HWND listView = nullptr;  // "SysListView32": the icons
    HWND defView = nullptr;   // "SHELLDLL_DefView": the empty desktop, the list view's parent
};
