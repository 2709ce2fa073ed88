#include "desktop/desktop_windows.h"
#include "desktop/icon_visibility.h"

#include <shlobj.h>

#include "desktop/desktop_lookup.h"
#include "desktop/shell_window_visibility.h"
#include "desktop/system_desktop.h"

namespace {

constexpr WPARAM kToggleDesktopIconsCommand = 0x7402;  // 29698, handled by the shell's desktop view

void ToggleShellIcons() {
    DesktopWindows desktop = FindDesktopListView();
    if (desktop.defView != nullptr) {
        SendMessageW(desktop.defView, WM_COMMAND, kToggleDesktopIconsCommand, 0);
    }
}

}  // namespace

bool ShellHidesIcons() {
    SHELLFLAGSTATE state = {};
    SHGetSettings(&state, SSF_HIDEICONS);
    return state.fHideIcons != 0;
}

DesktopWindows FindDesktopListView() {
    SystemDesktop desktop;
    return FindDesktopListViewOn(desktop);
}

void SetIconsVisible(bool show) {
    HWND listView = FindDesktopListView().listView;
    if (listView == nullptr || (IsWindowVisible(listView) != 0) == show) {
        return;
    }
    ApplyIconsVisible(listView, show);
}


void ShellHideIcons() {
    if (!HidingStopped() && !ShellHidesIcons()) {
        ToggleShellIcons();
    }
}

void ShellShowIcons() {
    if (ShellHidesIcons()) {
        ToggleShellIcons();
    }
}
