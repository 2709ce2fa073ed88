#include "control_window.h"

#include <cwchar>

#include "context_menu.h"
#include "secondary_taskbars.h"
#include "shell_windows.h"
#include "standin_protocol.h"

namespace standin {

namespace {

constexpr wchar_t kControlTitle[] = L"Velmora desktop stand-in";
constexpr UINT kRunPendingMessage = 0x8102;  // WM_APP + 0x102, posted to the control window itself
constexpr UINT_PTR kRebuildTimerId = 1;      // ends the gap of a restart
constexpr UINT kRetryBuildMs = 1000;         // after a failed build

// Answers the hang message, then answers nothing for `ms`, or until the tests end the hang
// (the event is made before the answer, so an end asked for at once is not lost).
void HangFor(DWORD ms) {
    wchar_t name[64] = L"";
    swprintf(name, 64, L"%ls%lu", kHangEndEventPrefix, GetCurrentProcessId());
    HANDLE ended = CreateEventW(nullptr, FALSE, FALSE, name);
    ReplyMessage(1);
    if (ended == nullptr) {
        Sleep(ms);
        return;
    }
    WaitForSingleObject(ended, ms);
    CloseHandle(ended);
}

struct Session {
    StandinOptions options;
    HWND control = nullptr;
    LRESULT generation = 0;  // counts the builds that reached ready
    bool ready = false;
    bool rebuildPending = false;
    DWORD rebuildGapMs = 0;
    bool quitPending = false;
};

Session session;

void BuildShell() {
    session.ready = false;
    if (!BuildShellWindows(session.options.layout) && session.control != nullptr) {
        DestroyShellWindows();
        SetTimer(session.control, kRebuildTimerId, kRetryBuildMs, nullptr);
    }
    RecreateSecondaryTaskbars();
}

// Requests are carried out from the control window's own queue. While a context menu is
// open they wait for it to close, so that its owner never disappears under its modal loop.
void ScheduleWork() {
    if (IsDesktopMenuOpen()) {
        EndMenu();
    }
    PostMessageW(session.control, kRunPendingMessage, 0, 0);
}

void RequestRebuild(DWORD gapMs) {
    session.ready = false;
    session.rebuildPending = true;
    session.rebuildGapMs = gapMs;
    ScheduleWork();
}

void RequestQuit() {
    session.quitPending = true;
    ScheduleWork();
}

void RunPendingWork() {
    if (IsDesktopMenuOpen()) {
        return;  // AfterMenuClosed posts the work again
    }
    if (session.quitPending) {
        PostQuitMessage(0);
        return;
    }
    if (!session.rebuildPending) {
        return;
    }
    session.rebuildPending = false;
    KillTimer(session.control, kRebuildTimerId);
    DestroyShellWindows();
    DestroySecondaryTaskbars();
    if (session.rebuildGapMs > 0) {
        SetTimer(session.control, kRebuildTimerId, session.rebuildGapMs, nullptr);
    } else {
        BuildShell();
    }
}

LRESULT OnCopyData(const COPYDATASTRUCT* data) {
    if (data == nullptr || data->dwData != kSetTaskbarRectData || data->cbData != sizeof(TaskbarRectRequest) ||
        data->lpData == nullptr) {
        return 0;
    }
    const auto* request = static_cast<const TaskbarRectRequest*>(data->lpData);
    return SetSecondaryTaskbarRect(request->index, request->rect) ? 1 : 0;
}

LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kQueryReadyMessage:
            return session.ready ? session.generation : 0;
        case kSetLayoutMessage:
            if (!IsLayout(wParam)) {
                return 0;
            }
            session.options.layout = static_cast<Layout>(wParam);
            RequestRebuild(0);
            return 1;
        case kSetTaskbarCountMessage:
            if (wParam > static_cast<WPARAM>(kMaxSecondaryTaskbars)) {
                return 0;
            }
            session.options.secondaryTaskbars = static_cast<int>(wParam);
            return SetSecondaryTaskbarCount(session.options.secondaryTaskbars) ? 1 : 0;
        case kRestartMessage:
            if (wParam > kMaxRestartGapMs) {
                return 0;
            }
            RequestRebuild(static_cast<DWORD>(wParam));
            return 1;
        case kQuitMessage:
            RequestQuit();
            return 1;
        case kHangMessage:
            if (wParam == 0 || wParam > kMaxHangMs) {
                return 0;
            }
            HangFor(static_cast<DWORD>(wParam));
            return 1;
        case WM_COPYDATA:
            return OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        case kRunPendingMessage:
            RunPendingWork();
            return 0;
        case WM_TIMER:
            if (wParam == kRebuildTimerId) {
                KillTimer(window, kRebuildTimerId);
                BuildShell();
            }
            return 0;
        case WM_DISPLAYCHANGE:
            FitShellWindowsToScreen();
            return 0;
        case WM_CLOSE:
            RequestQuit();
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

bool RegisterControlClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = ControlProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kControlClass;
    return RegisterClassExW(&windowClass) != 0;
}

bool StartSession(const StandinOptions& options) {
    session.options = options;
    // Taskbars after the desktop, so that they are drawn over it (shell_windows.cpp).
    bool built = BuildShellWindows(options.layout);
    SetSecondaryTaskbarCount(options.secondaryTaskbars);
    return built;
}

void EndSession() {
    if (session.control != nullptr) {
        KillTimer(session.control, kRebuildTimerId);
    }
    DestroySecondaryTaskbars();
    EndShellWindows();
    if (session.control != nullptr) {
        DestroyWindow(session.control);
        session.control = nullptr;
    }
    session.ready = false;
}

void OnDesktopViewReady(HWND defView) {
    if (defView != ShellDefView() || session.rebuildPending) {
        return;  // a view already replaced, or about to be
    }
    session.ready = true;
    ++session.generation;
    if (session.control == nullptr) {
        session.control = CreateWindowExW(WS_EX_TOOLWINDOW, kControlClass, kControlTitle, WS_POPUP, 0, 0, 0, 0, nullptr,
                                          nullptr, GetModuleHandleW(nullptr), nullptr);
    }
}

void AfterMenuClosed() {
    if (session.control != nullptr && (session.rebuildPending || session.quitPending)) {
        PostMessageW(session.control, kRunPendingMessage, 0, 0);
    }
}

}  // namespace standin
