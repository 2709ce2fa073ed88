#include "app/main_window.h"

#include "app/process_objects.h"
#include "common/failure_note.h"
#include "common/program.h"
#include "desktop/button_events.h"
#include "desktop/colour_window.h"
#include "desktop/engine_state.h"
#include "desktop/icons_hot_key.h"
#include "dialog/exit_restore.h"
#include "dialog/settings_dialog.h"
#include "resource_ids.h"
#include "settings/settings.h"
#include "tray/tray_icon.h"
#include "tray/tray_menu.h"

namespace {

// Broadcast by the shell when it creates its taskbar, after a restart too: a new taskbar
// knows no icons. Registered on first use, after start-up has restricted the DLL search.
UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

// The dialog goes first: the tray icon takes the dialog's small icon and the disabled state
// that the dialog has just loaded. Anyone can post command 104, so it builds only once.
void CreateUserInterface() {
    if (settingsDialog != nullptr) {
        return;
    }
    CreateSettingsDialog(nullptr, startInBackground != 0);
    CreateTrayIcon(mainWindow, settingsDialog, settings.m_disable != 0);
    // A key another program took since the last run is simply not ours this time.
    SetHotKeyWindow(mainWindow);
    ApplyIconsHotKey(settings.hotkey, settings.m_disable == 0);
    // Taps too short for the engine's ticks to see the button down.
    if (!WatchButtonEvents(mainWindow)) {
        NoteFailure(L"RegisterRawInputDevices");
    }
}

// Another instance asks with wParam == lParam == instanceMessage for this one to end; with
// 0, 0 it announces itself, and this instance brings its dialog to the front.
LRESULT HandleInstanceMessage(HWND window, WPARAM wParam, LPARAM lParam) {
    if (wParam == instanceMessage && static_cast<UINT>(lParam) == instanceMessage) {
        EndProgram(0);
        return 1;
    }
    ShowSettingsDialogToFront();
    return DefWindowProcW(window, instanceMessage, wParam, lParam);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == instanceMessage && instanceMessage != 0) {
        return HandleInstanceMessage(window, wParam, lParam);
    }
    if (message == TaskbarCreatedMessage() && message != 0) {
        RestoreTrayIconForNewTaskbar();
        return 0;
    }
    switch (message) {
        case WM_CREATE:
            PostMessageW(window, WM_COMMAND, kCreateInterfaceCommand, 0);
            return 0;
        case WM_ENDSESSION:
            // Logoff, shutdown, or an installer closing applications: the system ends the
            // process whenever it likes after this returns, so the desktop comes back now.
            if (wParam != FALSE) {
                RestoreAtExit();
            }
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
        case WM_DISPLAYCHANGE:
            FitColourWindowToDisplay();
            return 0;
        case WM_DPICHANGED:
            // The primary monitor, and with it the taskbar, has a new scale: a tray picture of
            // the new small-icon size. The hidden window stays where it is.
            RestoreTrayIconForNewTaskbar();
            return 0;
        case WM_HOTKEY:
            if (wParam == kIconsHotKeyId) {
                OnIconsHotKey();
            }
            return 0;
        case kTrayCallbackMessage:
            OnTrayCallback(wParam, lParam, settingsDialog);
            return 0;
        case WM_INPUT:
            NoteButtonEvents(reinterpret_cast<HRAWINPUT>(lParam), ProgramTime(GetMessageTime()), GetMessagePos());
            return DefWindowProcW(window, message, wParam, lParam);  // which frees the input
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
    windowClass.hInstance = ProgramInstance();
    windowClass.hIcon = LoadIconW(ProgramInstance(), MAKEINTRESOURCEW(IDI_PROGRAM));
    windowClass.hIconSm = nullptr;  // the system picks the small image from the same resource
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = mainClassName;
    if (RegisterClassExW(&windowClass) == 0) {
        NoteFailure(L"RegisterClassEx (main window)");
        return false;
    }
    return true;
}

HWND CreateMainWindow() {
    // 0x2 means nothing to an overlapped window; the style is kept as other instances have seen it.
    constexpr DWORD kMainWindowStyle = WS_OVERLAPPEDWINDOW | 0x2;
    mainWindow = CreateWindowExW(0, mainClassName, mainTitle, kMainWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, -100,
                                 -100, nullptr, nullptr, ProgramInstance(), nullptr);
    if (mainWindow == nullptr) {
        NoteFailure(L"CreateWindowEx (main window)");
        return nullptr;
    }
    ShowWindow(mainWindow, SW_HIDE);
    UpdateWindow(mainWindow);
    SetTimer(mainWindow, kMainTimerId, 1000, nullptr);
    return mainWindow;
}
