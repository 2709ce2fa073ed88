#include "appearance/live_theme.h"

#include <cwchar>

#include "appearance/dark_mode.h"
#include "appearance/dark_mode_hook.h"

namespace {

// Each child is told to take its theme again, allowed dark or not; a window that turns dark
// for the first time gets what the creation hook gives a new one.
BOOL CALLBACK RethemeChild(HWND child, LPARAM turnedDark) {
    if (turnedDark != 0) {
        DarkenWindow(child);
    }
    AllowDarkModeForWindow(child, IsDarkModeActive() ? TRUE : FALSE);
    SendMessageW(child, WM_THEMECHANGED, 0, 0);
    return TRUE;
}

BOOL CALLBACK PassSystemColours(HWND child, LPARAM) {
    SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
    return TRUE;
}

}  // namespace

bool IsColourSchemeChange(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETTINGCHANGE: {
            const auto* area = reinterpret_cast<const wchar_t*>(lParam);
            return wParam == SPI_SETHIGHCONTRAST || (area != nullptr && wcscmp(area, L"ImmersiveColorSet") == 0);
        }
        case WM_SYSCOLORCHANGE:
        case WM_THEMECHANGED:
            return true;
        default:
            return false;
    }
}

void FollowSystemColours(HWND window, UINT message) {
    if (message == WM_SYSCOLORCHANGE) {
        EnumChildWindows(window, PassSystemColours, 0);
    }
    const bool wasDark = IsDarkModeActive();
    RefreshDarkMode();
    const bool dark = IsDarkModeActive();
    if (dark != wasDark) {
        if (dark) {
            DarkenWindow(window);
        }
        AllowDarkModeForWindow(window, dark ? TRUE : FALSE);
        EnumChildWindows(window, RethemeChild, dark ? 1 : 0);
    }
    RefreshTitleBarTheme(window);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}
