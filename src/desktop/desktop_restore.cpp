#include "desktop/desktop_restore.h"

#include <windows.h>

#include <initializer_list>

#include "desktop/colour_window.h"
#include "desktop/desktop_windows.h"
#include "desktop/icon_visibility.h"
#include "desktop/shell_window_visibility.h"
#include "desktop/taskbar.h"

namespace {

// Long enough for a busy shell, short enough that a hung one does not keep the program from
// ending: the shows stay queued for the shell, which carries them out when it answers again.
constexpr DWORD kLongestShowWaitMs = 1500;
constexpr int kMostWindowsShown = 16;

struct ShownWindows {
    HWND windows[kMostWindowsShown];
    int count;
    void Add(HWND window) {
        if (window != nullptr && count < kMostWindowsShown) {
            windows[count++] = window;
        }
    }
};

// What the restore shows (ShowTaskbars): the list view, the primary taskbar, the first
// secondary one and every other secondary one the program hid. Taken before the shows, which
// take the marks away.
ShownWindows WindowsToShow() {
    ShownWindows shown = {};
    shown.Add(FindDesktopListView().listView);
    shown.Add(FindWindowW(kPrimaryTaskbarClass, nullptr));
    bool first = true;
    ForEachTopLevelWindowOfClass(kSecondaryTaskbarClass, [&shown, &first](HWND taskbar) {
        if (first || HiddenByProgram(taskbar)) {
            shown.Add(taskbar);
        }
        first = false;
    });
    return shown;
}

}  // namespace

void RestoreDesktop(ShellWait wait) {
    const ShownWindows shown = wait == ShellWait::kUntilShown ? WindowsToShow() : ShownWindows{};
    SetIconsVisible(true);
    // Also when the icons were visible already (the shell showed them, or its desktop view
    // moved under another window): no colour is left over them.
    RemoveColourWindow();
    ShowTaskbars();
    if (wait == ShellWait::kUntilShown) {
        WaitUntilShown(shown.windows, shown.count, kLongestShowWaitMs);
    }
}

void ShowWindowsHiddenByEarlierRun() {
    HWND listView = FindDesktopListView().listView;
    if (HiddenByProgram(listView)) {
        ApplyIconsVisible(listView, true);
    }
    // Every secondary taskbar: a killed run may have hidden one that is no longer the first.
    for (const wchar_t* taskbarClass : {kPrimaryTaskbarClass, kSecondaryTaskbarClass}) {
        ForEachTopLevelWindowOfClass(taskbarClass, [](HWND taskbar) {
            if (HiddenByProgram(taskbar)) {
                ShowShellWindow(taskbar);
            }
        });
    }
}
