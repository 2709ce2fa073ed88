#include "desktop/shell_window_visibility.h"

#include <atomic>

namespace {

// A window property: kept by the window itself, so it survives a killed program and
// disappears with a restarted shell's windows.
constexpr wchar_t kHiddenMark[] = L"Velmora.HiddenByVelmora";
constexpr DWORD kLongestHideWaitMs = 1000;

std::atomic<bool> hidingStopped{false};
std::atomic<int> hidesUnderWay{0};
thread_local bool insideHide = false;

class HideUnderWay {
  public:
    HideUnderWay() {
        hidesUnderWay.fetch_add(1);
        insideHide = true;
    }
    ~HideUnderWay() {
        insideHide = false;
        hidesUnderWay.fetch_sub(1);
    }
    HideUnderWay(const HideUnderWay&) = delete;
    HideUnderWay& operator=(const HideUnderWay&) = delete;
};

// What was last asked of the shell's windows lately. The tick asks again on every tick until
// it sees the change, and a hung shell would find its queue full of the same request (Windows
// keeps 10,000 at most): the same request for the same window goes again only after a while.
constexpr int kRememberedWindows = 8;
constexpr DWORD kRepeatAfterMs = 500;
struct Request {
    HWND window;
    int command;
    DWORD at;
};
Request lastRequests[kRememberedWindows];
int nextRequest = 0;
SRWLOCK requestsLock = SRWLOCK_INIT;  // the end of the program after a crash shows from any thread

bool NewRequest(HWND window, int command) {
    const DWORD now = GetTickCount();
    AcquireSRWLockExclusive(&requestsLock);
    Request* slot = nullptr;
    for (Request& request : lastRequests) {
        if (request.window == window) {
            slot = &request;
        }
    }
    const bool repeated = slot != nullptr && slot->command == command && now - slot->at < kRepeatAfterMs;
    if (!repeated) {
        if (slot == nullptr) {
            slot = &lastRequests[nextRequest];
            nextRequest = (nextRequest + 1) % kRememberedWindows;
        }
        *slot = Request{window, command, now};
    }
    ReleaseSRWLockExclusive(&requestsLock);
    return !repeated;
}

void Ask(HWND window, int command) {
    if (NewRequest(window, command)) {
        ShowWindowAsync(window, command);
    }
}

}  // namespace

// The shell's windows are shown and hidden by their own thread, in the order asked: a busy or
// hung shell (a slow network drive, a stuck shell extension) then costs the program nothing,
// and carries the changes out once it answers again, even after the program has ended. Shown
// without activation, as the shell's thread, unlike the program's, may take the foreground.
void HideShellWindow(HWND window) {
    HideUnderWay hide;
    if (hidingStopped.load()) {
        return;
    }
    // Marked before it hides: a kill in between leaves a visible window with a mark, which the
    // next run leaves alone.
    SetPropW(window, kHiddenMark, reinterpret_cast<HANDLE>(1));
    Ask(window, SW_HIDE);
}

void ShowShellWindow(HWND window) {
    Ask(window, SW_SHOWNA);
    RemovePropW(window, kHiddenMark);
}

bool WaitUntilShown(const HWND* windows, int count, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        int shown = 0;
        for (int i = 0; i < count; ++i) {
            // The window's own style: a window inside a hidden one is shown all the same.
            if (windows[i] == nullptr || (GetWindowLongPtrW(windows[i], GWL_STYLE) & WS_VISIBLE) != 0) {
                ++shown;
            }
        }
        if (shown == count) {
            return true;
        }
        if (GetTickCount() - start >= timeoutMs) {
            return false;
        }
        Sleep(10);
    }
}

bool HiddenByProgram(HWND window) {
    return window != nullptr && GetPropW(window, kHiddenMark) != nullptr;
}

void StopHidingForGood() {
    hidingStopped.store(true);
    // A crash inside a hide of this very thread must not wait for itself.
    const int ownHide = insideHide ? 1 : 0;
    const DWORD start = GetTickCount();
    while (hidesUnderWay.load() > ownHide && GetTickCount() - start < kLongestHideWaitMs) {
        Sleep(1);
    }
}

bool HidingStopped() {
    return hidingStopped.load();
}
