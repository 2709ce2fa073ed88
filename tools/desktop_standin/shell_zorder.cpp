#include "shell_zorder.h"

#include <vector>

namespace standin {

namespace {

constexpr UINT kRestackFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
// For other programs' windows the request is posted to their thread: a program that does not
// pump its messages must not hold up the desktop.
constexpr UINT kRaiseFlags = kRestackFlags | SWP_ASYNCWINDOWPOS;

bool InOrder(const ShellOrder& order, HWND window) {
    for (HWND shellWindow : order) {
        if (shellWindow != nullptr && shellWindow == window) {
            return true;
        }
    }
    return false;
}

// The window that must stay directly below `window`; null for the lowest one.
HWND WindowBelow(const ShellOrder& order, HWND window) {
    for (size_t i = 0; i + 1 < order.size(); ++i) {
        if (order[i] == window) {
            return order[i + 1];
        }
    }
    return nullptr;
}

bool IsTopmost(HWND window) {
    return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

// Visible windows from the top down to (not including) the first window in `order`, or down
// to (including) `last`; top first.
std::vector<HWND> VisibleWindowsFromTop(const ShellOrder& order, HWND last) {
    std::vector<HWND> windows;
    for (HWND window = GetTopWindow(nullptr); window != nullptr && !InOrder(order, window);
         window = GetWindow(window, GW_HWNDNEXT)) {
        if (IsWindowVisible(window)) {
            windows.push_back(window);
        }
        if (window == last) {
            break;
        }
    }
    return windows;
}

// Wine raises a window's X window only when a real change of the z-order makes the window the
// topmost visible one (a window already first in the list is not moved at all). A detour
// through the other band, topmost or ordinary, and back always is such a change, and leaves
// the window on top of its own band.
void RaiseInX(HWND window) {
    bool topmost = IsTopmost(window);
    SetWindowPos(window, topmost ? HWND_NOTOPMOST : HWND_TOPMOST, 0, 0, 0, 0, kRaiseFlags);
    SetWindowPos(window, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, kRaiseFlags);
}

void RaiseBottomUp(const std::vector<HWND>& topFirst) {
    // Ordinary windows first, so that the topmost ones end up above them in X as well.
    for (bool topmostPass : {false, true}) {
        for (auto it = topFirst.rbegin(); it != topFirst.rend(); ++it) {
            if (IsTopmost(*it) == topmostPass) {
                RaiseInX(*it);
            }
        }
    }
}

}  // namespace

void KeepShellOrder(const ShellOrder& order, HWND window, WINDOWPOS& pos) {
    if ((pos.flags & SWP_NOZORDER) != 0) {
        return;
    }
    HWND below = WindowBelow(order, window);
    if (below == nullptr) {
        pos.hwndInsertAfter = HWND_BOTTOM;
        return;
    }
    HWND above = GetWindow(below, GW_HWNDPREV);
    if (above == window) {
        pos.flags |= SWP_NOZORDER;
        return;
    }
    pos.hwndInsertAfter = above != nullptr ? above : HWND_TOP;
}

void LowerShellWindows(const ShellOrder& order) {
    // Bottom up: each one goes to the bottom, which KeepShellOrder turns into "just above the
    // window below me".
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        if (*it != nullptr) {
            SetWindowPos(*it, HWND_BOTTOM, 0, 0, 0, 0, kRestackFlags);
        }
    }
}

bool ShellOrderIntact(const ShellOrder& order) {
    if (order[0] == nullptr) {
        return true;
    }
    size_t expected = 1;
    for (HWND window = GetWindow(order[0], GW_HWNDNEXT); window != nullptr; window = GetWindow(window, GW_HWNDNEXT)) {
        if (expected < order.size() && window == order[expected]) {
            ++expected;
        } else if (InOrder(order, window) || IsWindowVisible(window)) {
            return false;
        }
    }
    return expected == order.size() || order[expected] == nullptr;
}

void RaiseWindowsAboveShell(const ShellOrder& order) {
    RaiseBottomUp(VisibleWindowsFromTop(order, nullptr));
}

std::vector<HWND> HiddenWindows(const ShellOrder& order) {
    std::vector<HWND> hidden;
    for (HWND window = GetTopWindow(nullptr); window != nullptr; window = GetWindow(window, GW_HWNDNEXT)) {
        if (!IsWindowVisible(window) && !InOrder(order, window)) {
            hidden.push_back(window);
        }
    }
    return hidden;
}

void RaiseWindowAndThoseAbove(HWND window) {
    RaiseBottomUp(VisibleWindowsFromTop(ShellOrder{}, window));
}

}  // namespace standin
