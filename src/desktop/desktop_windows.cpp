#include "desktop/desktop_windows.h"

#include <shlobj.h>

#include "desktop/colour_window.h"

namespace {

constexpr WPARAM kToggleDesktopIconsCommand = 0x7402;  // 29698, handled by the shell's desktop view

DesktopWindows DesktopUnder(HWND top) {
    DesktopWindows found;
    found.defView = FindWindowExW(top, nullptr, L"SHELLDLL_DefView", nullptr);
    if (found.defView != nullptr) {
        found.listView = FindWindowExW(found.defView, nullptr, L"SysListView32", nullptr);
    }
    return found;
}

// With a wallpaper slideshow or after Win+Tab the shell moves its desktop view from
// "Program Manager" into one of its "WorkerW" windows.
DesktopWindows DesktopUnderFirstWorker() {
    HWND worker = nullptr;
    while ((worker = FindWindowExW(nullptr, worker, L"WorkerW", nullptr)) != nullptr) {
        DesktopWindows found = DesktopUnder(worker);
        if (found.defView != nullptr) {
            return found;
        }
    }
    return DesktopWindows{};
}

bool ShellHidesIcons() {
    SHELLFLAGSTATE state = {};
    SHGetSettings(&state, SSF_HIDEICONS);
    return state.fHideIcons != 0;
}

void ToggleShellIcons() {
    DesktopWindows desktop = FindDesktopListView();
    if (desktop.defView != nullptr) {
        SendMessageW(desktop.defView, WM_COMMAND, kToggleDesktopIconsCommand, 0);
    }
}

long long Area(const RECT& r) {
    return static_cast<long long>(r.right - r.left) * (r.bottom - r.top);
}

}  // namespace

DesktopWindows FindDesktopListView() {
    HWND top = FindWindowW(nullptr, L"Program Manager");
    if (top != nullptr) {
        DesktopWindows found = DesktopUnder(top);
        if (found.listView != nullptr) {
            return found;
        }
    }
    return DesktopUnderFirstWorker();
}

void SetIconsVisible(bool show) {
    HWND listView = FindDesktopListView().listView;
    if (listView == nullptr || (IsWindowVisible(listView) != 0) == show) {
        return;
    }
    ApplyIconsVisible(listView, show);
}

void ApplyIconsVisible(HWND listView, bool show) {
    ShowWindow(listView, show ? SW_SHOW : SW_HIDE);
    UpdateColourWindow(show);
}

HWND WindowUnderPoint(POINT p) {
    HWND h = WindowFromPoint(p);
    if (h == nullptr) {
        return nullptr;
    }
    HWND best = h;
    RECT bestRect;
    GetWindowRect(h, &bestRect);
    HWND parent = GetParent(h);
    if (parent == nullptr) {
        return h;
    }
    while ((h = GetWindow(h, GW_HWNDNEXT)) != nullptr) {
        RECT rect;
        if (!GetWindowRect(h, &rect) || !PtInRect(&rect, p) || GetParent(h) != parent || !IsWindowVisible(h)) {
            continue;
        }
        if (Area(rect) < Area(bestRect)) {
            best = h;
            bestRect = rect;
        }
    }
    return best;
}

void ShellHideIcons() {
    if (!ShellHidesIcons()) {
        ToggleShellIcons();
    }
}

void ShellShowIcons() {
    if (ShellHidesIcons()) {
        ToggleShellIcons();
    }
}
