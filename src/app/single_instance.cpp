#include "app/single_instance.h"

#include <windows.h>

#include "app/process_objects.h"
#include "common/failure_note.h"
#include "common/program.h"

namespace {

constexpr UINT kSendFlags = SMTO_BLOCK | SMTO_ABORTIFHUNG;  // 3
constexpr UINT kAnnounceTimeoutMs = 10000;
constexpr UINT kExitTimeoutMs = 1000;

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
    EnumWindows(AnnounceToWindow, 0);
    PostQuitMessage(kSecondInstanceExitCode);
    return false;
}

void BroadcastExitRequest() {
    if (instanceMessage == 0) {
        return;
    }
    EnumWindows(AskWindowToExit, 0);
}
