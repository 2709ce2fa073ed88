// A thread of its own for a window whose parent belongs to another process: the desktop colour
// inside the shell's "Program Manager". Windows joins the input of a child's thread to its
// parent's thread, and Wine makes the thread that hides such a child wait until the parent's
// thread answers; on a thread of its own, a hung shell holds that thread only, never the
// program's GUI thread.
#pragma once
#include <windows.h>

#include <atomic>

class WindowThread {
  public:
    // Carries out a request on the window thread: a message number of WM_APP or above, with
    // its two parameters.
    using Handler = void (*)(UINT request, WPARAM wParam, LPARAM lParam);

    explicit WindowThread(Handler handler) : handler_(handler) {}
    WindowThread(const WindowThread&) = delete;
    WindowThread& operator=(const WindowThread&) = delete;

    // Hands `request` to the thread (started on the first request), which carries the requests
    // out in the order asked. Waits until it is done, at most `waitMs`, taking the messages
    // sent to the calling thread meanwhile; a thread still busy with an earlier request (stuck
    // behind a hung parent) is not waited for at all, nor given the same request as the last
    // one again (the requests are the same done twice). Returns whether the request is done.
    bool Ask(UINT request, WPARAM wParam, LPARAM lParam, DWORD waitMs);
    bool Started() const { return threadId_.load() != 0; }

  private:
    static DWORD WINAPI Main(void* self);
    bool Start();
    bool WaitUntilDone(long request, DWORD waitMs);

    const Handler handler_;
    std::atomic<DWORD> threadId_{0};
    bool startFailed_ = false;  // not tried again: the old thread might still come up
    std::atomic<long> posted_{0};
    std::atomic<long> done_{0};
    MSG lastRequest_ = {};  // of the threads that ask: the GUI thread, rarely a crashing one
    // Never closed, like the thread itself: the program's end may still ask for a request
    // after the object's own teardown.
    HANDLE doneEvent_ = nullptr;   // set after each request
    HANDLE readyEvent_ = nullptr;  // set once the thread takes messages
};
