#include "desktop/taskbar.h"

#include "desktop/desktop_windows.h"
#include "desktop/shell_window_visibility.h"
#include "settings/settings.h"

namespace {


}  // namespace

void ShowTaskbars() {
    if (HWND primary = FindWindowW(kPrimaryTaskbarClass, nullptr)) {
        ShowShellWindow(primary);
    }
    // The first one is shown whoever hid it, as ever; the others when the program hid them.
    // Showing removes the mark, so a window the walk meets again is not shown twice.
    bool first = true;
    ForEachTopLevelWindowOfClass(kSecondaryTaskbarClass, [&first](HWND taskbar) {
        if (first || HiddenByProgram(taskbar)) {
            ShowShellWindow(taskbar);
        }
        first = false;
    });
}

void HideTaskbars() {
    if (HWND primary = FindWindowW(kPrimaryTaskbarClass, nullptr)) {
        HideShellWindow(primary);
    }
    ForEachTopLevelWindowOfClass(kSecondaryTaskbarClass, [](HWND taskbar) { HideShellWindow(taskbar); });
}

void ShowEverything() {
    SetIconsVisible(true);
    if (settings.hide_taskbar != 0) {
        ShowTaskbars();
    }
}

void HideEverything() {
    SetIconsVisible(false);
    if (settings.hide_taskbar != 0) {
        HideTaskbars();
    }
}
