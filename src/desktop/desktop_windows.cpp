#include "desktop/desktop_windows.h"
#include "desktop/icon_visibility.h"

#include <shlobj.h>

#include "desktop/desktop_lookup.h"
#include "desktop/shell_window_visibility.h"
#include "desktop/system_desktop.h"

namespace {

constexpr WPARAM kToggleDesktopIconsCommand = 0x7402;  // 29698, handled by the shell's desktop view

// Toggles on their way to the shell's desktop view: sent without waiting (a hung shell must
// not hold the program), so until the shell has handled them the setting it reports is the
// one before. Counted, or a second toggle sent meanwhile would switch the icons back. GUI
// thread only.
struct PendingToggles {
    HWND view;        // a restarted shell's new view never gets the old view's toggles
    int count;        // sent and not answered yet
    bool target;      // whether the setting hides the icons once they are handled
    ULONG_PTR round;  // answers to the toggles of an earlier round are not counted
};
PendingToggles pendingToggles = {};

void CALLBACK OnToggleHandled(HWND, UINT, ULONG_PTR round, LRESULT) {
    if (round == pendingToggles.round && pendingToggles.count > 0) {
        --pendingToggles.count;
    }
}

// Makes the shell's setting hide the icons or show them, counting the toggles it has not
// handled yet.
void SetShellHidesIcons(bool hide) {
    const bool hidesNow = ShellHidesIcons();
    // The shell may report the new setting before its answer arrives; and toggles that cancel
    // out change nothing in the end: the setting they lead to settles the count.
    if (pendingToggles.count > 0 && hidesNow == pendingToggles.target) {
        pendingToggles.count = 0;
        ++pendingToggles.round;
    }
    if (pendingToggles.count == 0 && hidesNow == hide) {
        return;
    }
    HWND view = FindDesktopListView().defView;
    if (view == nullptr) {
        return;
    }
    if (view != pendingToggles.view) {
        pendingToggles = PendingToggles{view, 0, hidesNow, pendingToggles.round + 1};
    }
    const bool hidesOnceHandled = pendingToggles.count > 0 ? pendingToggles.target : hidesNow;
    if (hidesOnceHandled != hide && SendMessageCallbackW(view, WM_COMMAND, kToggleDesktopIconsCommand, 0,
                                                         OnToggleHandled, pendingToggles.round) != 0) {
        ++pendingToggles.count;
        pendingToggles.target = hide;
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
    if (!HidingStopped()) {
        SetShellHidesIcons(true);
    }
}

void ShellShowIcons() {
    SetShellHidesIcons(false);
}
