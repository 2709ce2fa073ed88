#include "desktop/taskbar.h"

#include <windows.h>

#include <initializer_list>

#include "desktop/desktop_windows.h"
#include "desktop/shell_window_visibility.h"
#include "settings/settings.h"

namespace {

void ShowBoth(bool show) {
    for (const wchar_t* taskbarClass : {L"Shell_TrayWnd", L"Shell_SecondaryTrayWnd"}) {
        HWND taskbar = FindWindowW(taskbarClass, nullptr);
        if (taskbar == nullptr) {
            continue;
        }
        if (show) {
            ShowShellWindow(taskbar);
        } else {
            HideShellWindow(taskbar);
        }
    }
}

}  // namespace

void ShowTaskbars() {
    ShowBoth(true);
}

void HideTaskbars() {
    ShowBoth(false);
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
