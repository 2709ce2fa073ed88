// Hiding and showing the taskbars: "Shell_TrayWnd" (the primary monitor's) and every
// "Shell_SecondaryTrayWnd" (one a further monitor), each looked up at every use; a missing one
// is skipped.
#pragma once
#include <windows.h>

// Shows the primary taskbar, the first secondary one found, and every further secondary
// taskbar that the program hid (its mark says so; one hidden by someone else stays hidden).
void ShowTaskbars();
// Hides the primary taskbar and every secondary one.
void HideTaskbars();

// Icons plus, with hide_taskbar on, the taskbars.
void ShowEverything();
void HideEverything();

// Calls `action(window)` for every top-level window of class `className`, in z-order. Showing
// a window may raise it, and the walk then meets the windows below its new place once more:
// the action must be harmless the second time.
template <typename Action>
void ForEachTopLevelWindowOfClass(const wchar_t* className, Action action) {
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, className, nullptr)) != nullptr) {
        action(window);
    }
}
