#include "desktop/window_thread.h"

#include "common/failure_note.h"
#include "common/scoped_handle.h"

namespace {

constexpr DWORD kLongestStartMs = 1000;

}  // namespace

bool WindowThread::Ask(UINT request, WPARAM wParam, LPARAM lParam, DWORD waitMs) {
    if (!Started() && (startFailed_ || !Start())) {
        startFailed_ = true;
        return false;
    }
    const bool idle = done_.load() == posted_.load();
    if (!idle && request == lastRequest_.message && wParam == lastRequest_.wParam && lParam == lastRequest_.lParam) {
        return false;
    }
    lastRequest_.message = request;
    lastRequest_.wParam = wParam;
    lastRequest_.lParam = lParam;
    const long number = posted_.fetch_add(1) + 1;
    if (PostThreadMessageW(threadId_.load(), request, wParam, lParam) == 0) {
        NoteFailure(L"PostThreadMessage (window thread)");
        posted_.fetch_sub(1);
        return false;
    }
    return idle && WaitUntilDone(number, waitMs);
}

bool WindowThread::WaitUntilDone(long request, DWORD waitMs) {
    const DWORD start = GetTickCount();
    HANDLE done = doneEvent_;
    while (done_.load() < request) {
        const DWORD waited = GetTickCount() - start;
        if (waited >= waitMs) {
            return false;
        }
        // A window of this thread may be the parent the request is about.
        MsgWaitForMultipleObjectsEx(1, &done, waitMs - waited, QS_SENDMESSAGE, 0);
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    return true;
}

bool WindowThread::Start() {
    doneEvent_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    readyEvent_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (doneEvent_ == nullptr || readyEvent_ == nullptr) {
        NoteFailure(L"CreateEvent (window thread)");
        return false;
    }
    DWORD id = 0;
    ScopedKernelHandle thread(CreateThread(nullptr, 0, Main, this, 0, &id));
    if (!thread) {
        NoteFailure(L"CreateThread (window thread)");
        return false;
    }
    if (WaitForSingleObject(readyEvent_, kLongestStartMs) != WAIT_OBJECT_0) {
        return false;
    }
    threadId_.store(id);
    return true;
}

// Lives as long as the process; its windows go with it.
DWORD WINAPI WindowThread::Main(void* param) {
    auto* self = static_cast<WindowThread*>(param);
    MSG message;
    PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // the queue, before anyone posts
    SetEvent(self->readyEvent_);
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.hwnd == nullptr && message.message >= WM_APP) {
            self->handler_(message.message, message.wParam, message.lParam);
            self->done_.fetch_add(1);
            SetEvent(self->doneEvent_);
        } else {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return 0;
}
