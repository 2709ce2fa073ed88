// The two desktop lookups, written over a desktop (SystemDesktop in the program, a scripted
// one in unit tests): finding the shell's list view and its desktop view, and the window
// under a screen point.
#pragma once
#include <windows.h>

#include "desktop/shell_windows.h"

namespace desktop_lookup {

template <typename Desktop>
DesktopWindows Under(Desktop& desktop, HWND top) {
    DesktopWindows found;
    found.defView = desktop.Find(top, nullptr, kDesktopViewClass, nullptr);
    if (found.defView != nullptr) {
        found.listView = desktop.Find(found.defView, nullptr, kDesktopIconsClass, nullptr);
    }
    return found;
}

inline long long Area(const RECT& r) {
    return static_cast<long long>(r.right - r.left) * (r.bottom - r.top);
}

}  // namespace desktop_lookup

// With a wallpaper slideshow or after Win+Tab the shell moves its desktop view from
// "Program Manager" into one of its "WorkerW" windows; the first worker (in z-order) that
// holds one is used, even when its list view is missing.
template <typename Desktop>
DesktopWindows FindDesktopListViewOn(Desktop& desktop) {
    HWND top = desktop.Find(nullptr, nullptr, nullptr, kProgramManagerTitle);
    if (top != nullptr) {
        DesktopWindows found = desktop_lookup::Under(desktop, top);
        if (found.listView != nullptr) {
            return found;
        }
    }
    HWND worker = nullptr;
    while ((worker = desktop.Find(nullptr, worker, kWorkerClass, nullptr)) != nullptr) {
        DesktopWindows found = desktop_lookup::Under(desktop, worker);
        if (found.defView != nullptr) {
            return found;
        }
    }
    return DesktopWindows{};
}

// The window under `p`, or the smallest visible sibling below it in z-order that also
// contains `p` (ties keep the higher one). A window without a parent is the answer itself.
// The rectangle and its area are checked before the costlier parent and visibility queries.
template <typename Desktop>
HWND WindowUnderPointOn(Desktop& desktop, POINT p) {
    HWND h = desktop.WindowAt(p);
    if (h == nullptr) {
        return nullptr;
    }
    RECT bestRect = {};
    desktop.Rect(h, &bestRect);
    HWND parent = desktop.Parent(h);
    if (parent == nullptr) {
        return h;
    }
    HWND best = h;
    long long bestArea = desktop_lookup::Area(bestRect);
    while ((h = desktop.NextBelow(h)) != nullptr) {
        RECT rect;
        if (!desktop.Rect(h, &rect) || !PtInRect(&rect, p) || desktop_lookup::Area(rect) >= bestArea) {
            continue;
        }
        if (desktop.Parent(h) == parent && desktop.Visible(h)) {
            best = h;
            bestArea = desktop_lookup::Area(rect);
        }
    }
    return best;
}
