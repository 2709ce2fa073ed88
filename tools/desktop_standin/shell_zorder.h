// Keeping the desktop's top-level windows at the bottom of the z-order under Wine. Besides
// the usual raising (clicks, SetForegroundWindow before a context menu), Wine's X11 driver
// moves a window up by itself whenever the X server shows it above others (an exposure, or
// the X pointer over it), and it never lowers an X window. So the desktop, shown last, would
// climb over every window that was already there: the windows above it have to be raised
// again in X, bottom up, so that both stacking orders agree.
#pragma once
#include <windows.h>

#include <array>
#include <vector>

namespace standin {

// The desktop's top-level windows from top to bottom; unused slots at the end are null.
using ShellOrder = std::array<HWND, 4>;

// For WM_WINDOWPOSCHANGING of a window in `order`: any z change becomes "back to my place".
void KeepShellOrder(const ShellOrder& order, HWND window, WINDOWPOS& pos);

// Moves the windows to the bottom in their order, without showing, hiding or activating.
void LowerShellWindows(const ShellOrder& order);

// True when the windows lie in their order and no other visible window lies below the first.
bool ShellOrderIntact(const ShellOrder& order);

// Raises every visible window above the desktop again, bottom up, keeping their order.
void RaiseWindowsAboveShell(const ShellOrder& order);

// The other windows that exist but are hidden. Their X windows may be older than the
// desktop's, and so lie under it in X once they are shown.
std::vector<HWND> HiddenWindows(const ShellOrder& order);

// Raises `window` and every visible window above it, bottom up, keeping their order.
void RaiseWindowAndThoseAbove(HWND window);

}  // namespace standin
