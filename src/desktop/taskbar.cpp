#include "desktop/taskbar.h"

#include <windows.h>

#include <initializer_list>

#include "desktop/desktop_windows.h"
#include "settings/settings.h"

namespace {

void ShowBoth(int command) {
    for (const wchar_t* taskbarClass : {L"Shell_TrayWnd", L"Shell_SecondaryTrayWnd"}) {
        HWND taskbar = FindWindowW(taskbarClass, nullptr);
        if (taskbar != nullptr) {
            ShowWindow(taskbar, command);
        }
    }
}

}  // namespace

void ShowTaskbars() {
    ShowBoth(SW_SHOW);
}

void HideTaskbars() {
    ShowBoth(SW_HIDE);
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
