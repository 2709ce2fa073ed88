#include "app/main_window.h"

#include "app/interface_seams.h"
#include "app/process_objects.h"
#include "desktop/desktop_windows.h"
#include "resource_ids.h"

namespace {

// Another instance asks with wParam == lParam == instanceMessage for this one to end; with
// 0, 0 it announces itself, and this instance brings its dialog to the front.
LRESULT HandleInstanceMessage(HWND window, WPARAM wParam, LPARAM lParam) {
    if (wParam == instanceMessage && static_cast<UINT>(lParam) == instanceMessage) {
        RemoveTrayIconSeam();
        SetIconsVisible(true);
        PostQuitMessage(0);
        return 1;
    }
    ShowSettingsDialogToFront();
    return DefWindowProcW(window, instanceMessage, wParam, lParam);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == instanceMessage && instanceMessage != 0) {
        return HandleInstanceMessage(window, wParam, lParam);
    }
    switch (message) {
        case WM_CREATE:
            PostMessageW(window, WM_COMMAND, kCreateInterfaceCommand, 0);
            return 0;
        case WM_DESTROY:
        case WM_CLOSE:
            PostQuitMessage(0);
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == kCreateInterfaceCommand) {
                CreateUserInterface();
            }
            return 0;
        case WM_TIMER:
            return 0;
        case kTrayCallbackMessage:
            if (lParam == WM_LBUTTONDOWN || lParam == WM_RBUTTONDOWN) {
                TrayIconClickedSeam(static_cast<UINT>(lParam));
            }
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

bool RegisterMainWindowClass() {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instanceHandle;
    windowClass.hIcon = LoadIconW(instanceHandle, MAKEINTRESOURCEW(IDI_PROGRAM));
    windowClass.hIconSm = windowClass.hIcon;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.lpszClassName = mainClassName;
    return RegisterClassExW(&windowClass) != 0;
}

HWND CreateMainWindow() {
    constexpr DWORD kMainWindowStyle = 0xCF0002;  // WS_OVERLAPPEDWINDOW plus 0x2
    mainWindow = CreateWindowExW(0, mainClassName, mainTitle, kMainWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, -100,
                                 -100, nullptr, nullptr, instanceHandle, nullptr);
    ShowWindow(mainWindow, SW_HIDE);
    UpdateWindow(mainWindow);
    SetTimer(mainWindow, kMainTimerId, 1000, nullptr);
    return mainWindow;
}
