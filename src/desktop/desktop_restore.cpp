#include "desktop/desktop_restore.h"

#include <windows.h>

#include <initializer_list>

#include "desktop/colour_window.h"
#include "desktop/desktop_windows.h"
#include "desktop/icon_visibility.h"
#include "desktop/shell_window_visibility.h"
#include "desktop/taskbar.h"

void RestoreDesktop() {
    SetIconsVisible(true);
    // Also when the icons were visible already (the shell showed them, or its desktop view
    // moved under another window): no colour is left over them.
    RemoveColourWindow();
    ShowTaskbars();
}

void ShowWindowsHiddenByEarlierRun() {
    HWND listView = FindDesktopListView().listView;
    if (HiddenByProgram(listView)) {
        ApplyIconsVisible(listView, true);
    }
    // Every secondary taskbar: a killed run may have hidden one that is no longer the first.
    for (const wchar_t* taskbarClass : {L"Shell_TrayWnd", L"Shell_SecondaryTrayWnd"}) {
        ForEachTopLevelWindowOfClass(taskbarClass, [](HWND taskbar) {
            if (HiddenByProgram(taskbar)) {
                ShowShellWindow(taskbar);
            }
        });
    }
}
