#include "app/single_instance.h"

#include <windows.h>

#include "app/process_objects.h"
#include "common/failure_note.h"
#include "common/program.h"

namespace {

constexpr UINT kSendFlags = SMTO_BLOCK | SMTO_ABORTIFHUNG;  // 3
constexpr UINT kAnnounceTimeoutMs = 10000;
constexpr UINT kExitTimeoutMs = 1000;
// The walk ends after this many, should windows of the class keep appearing while it runs.
constexpr int kMaxInstanceWindows = 16;

// A running instance answers the announcement with 0, so in practice every window is
// visited and the running instance has shown its dialog by the time the walk ends.
BOOL CALLBACK AnnounceToWindow(HWND window, LPARAM) {
    DWORD_PTR reply = 0;
    if (SendMessageTimeoutW(window, instanceMessage, 0, 0, kSendFlags, kAnnounceTimeoutMs, &reply) != 0 &&
        reply == instanceMessage) {
        return FALSE;
    }
    return TRUE;
}

bool IsInstanceMainWindow(HWND window) {
    wchar_t name[256] = L"";
    return GetClassNameW(window, name, 256) != 0 && lstrcmpW(name, mainClassName) == 0;
}

class SystemAnnouncement : public InstanceAnnouncement {
  public:
    HWND NextInstanceWindow(HWND after) override { return FindWindowExW(nullptr, after, mainClassName, nullptr); }

    DWORD ProcessOf(HWND window) override {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        return processId;
    }

    void AllowForeground(DWORD processId) override {
        if (!AllowSetForegroundWindow(processId)) {
            NoteFailure(L"AllowSetForegroundWindow");
        }
    }

    void Announce() override { EnumWindows(AnnounceToWindow, 0); }
};

BOOL CALLBACK AskWindowToExit(HWND window, LPARAM) {
    DWORD_PTR reply = 0;
    WPARAM wParam = instanceMessage;
    LPARAM lParam = static_cast<LPARAM>(instanceMessage);
    if (SendMessageTimeoutW(window, instanceMessage, wParam, lParam, kSendFlags, kExitTimeoutMs, &reply) == 0) {
        // Wine withdraws a sent message that the receiver has not picked up when the time-out
        // ends, so an instance whose GUI thread was busy for that second (building its dialog
        // on a loaded machine) would never hear the request and run on. Queue it instead; should
        // the sent one still arrive, as Windows delivers it late, a second request changes nothing.
        if (IsInstanceMainWindow(window)) {
            PostMessageW(window, instanceMessage, wParam, lParam);
        }
        return TRUE;
    }
    if (reply == instanceMessage) {
        SendMessageW(window, instanceMessage, wParam, lParam);
    }
    return TRUE;
}

}  // namespace

bool ClaimSingleInstance() {
    // Never closed: the mutex marks this process as the running instance until it ends.
    static HANDLE mutex = nullptr;
    mutex = CreateMutexW(nullptr, FALSE, productName);
    DWORD error = GetLastError();
    if (error != ERROR_ALREADY_EXISTS && error != ERROR_ACCESS_DENIED) {
        // Without the mark this instance runs all the same, but a second one would not find it.
        if (mutex == nullptr) {
            NoteFailure(L"CreateMutex", error);
        }
        return true;
    }
    SystemAnnouncement announcement;
    AnnounceSecondStart(announcement);
    // This instance still builds its dialog before the quit message is taken, but does not
    // show it: shown, it would take the foreground the running instance has just been given,
    // and leave no window in front when it ends.
    startInBackground = 1;
    PostQuitMessage(kSecondInstanceExitCode);
    return false;
}

void AnnounceSecondStart(InstanceAnnouncement& calls) {
    // This instance has no main window yet: every window of the class is a running instance's.
    const DWORD self = GetCurrentProcessId();
    HWND window = nullptr;
    for (int found = 0; found < kMaxInstanceWindows && (window = calls.NextInstanceWindow(window)) != nullptr;
         ++found) {
        const DWORD process = calls.ProcessOf(window);
        if (process != 0 && process != self) {
            calls.AllowForeground(process);
        }
    }
    calls.Announce();
}

void BroadcastExitRequest() {
    if (instanceMessage == 0) {
        return;
    }
    EnumWindows(AskWindowToExit, 0);
}
