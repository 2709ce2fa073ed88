// The tick runs about 33 times a second for the life of the program, so it must not touch the
// heap. Every operator new of this test program is counted; the scripted engine tests check
// each tick, and the test below runs the tick through the real window calls on windows of this
// process alone, so a developer's own desktop and taskbar are never touched.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <new>

#include "allocation_counter.h"
#include "desktop/auto_hide_engine.h"
#include "desktop/auto_hide_tick.h"
#include "desktop/system_desktop.h"
#include "settings/settings.h"
#include "settings/writable_settings.h"

long long allocationCount = 0;

void* operator new(std::size_t size) {
    ++allocationCount;
    void* block = std::malloc(size != 0 ? size : 1);
    if (block == nullptr) {
        std::abort();
    }
    return block;
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}

namespace {

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

// A shell desktop, a taskbar and a countdown bar, made of this process's own windows, so the
// tick has something to find and change.
class RealDesktop {
  public:
    RealDesktop() {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        RegisterPlain(L"VelmoraTestProgman");
        RegisterPlain(L"SHELLDLL_DefView");
        RegisterPlain(L"VelmoraTestDialog");
        RegisterPlain(L"Shell_TrayWnd");
        progman_ = CreateWindowExW(WS_EX_TOOLWINDOW, L"VelmoraTestProgman", L"Program Manager", WS_POPUP | WS_VISIBLE,
                                   0, 0, 1280, 760, nullptr, nullptr, nullptr, nullptr);
        SetWindowPos(progman_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        defView = CreateWindowExW(0, L"SHELLDLL_DefView", L"", WS_CHILD | WS_VISIBLE, 0, 0, 1280, 760, progman_,
                                  nullptr, nullptr, nullptr);
        listView = CreateWindowExW(0, WC_LISTVIEWW, L"FolderView", WS_CHILD | WS_VISIBLE | LVS_ICON | LVS_EDITLABELS, 0,
                                   0, 1280, 760, defView, nullptr, nullptr, nullptr);
        dialog_ = CreateWindowExW(0, L"VelmoraTestDialog", L"Velmora", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 300, 100,
                                  nullptr, nullptr, nullptr, nullptr);
        countdown = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 10, 10, 200, 20, dialog_, nullptr,
                                    nullptr, nullptr);
        SendMessageW(countdown, PBM_SETRANGE32, 0, 1000);
        taskbar = CreateWindowExW(WS_EX_TOOLWINDOW, L"Shell_TrayWnd", L"", WS_POPUP | WS_VISIBLE, 0, 760, 1280, 40,
                                  nullptr, nullptr, nullptr, nullptr);
    }
    ~RealDesktop() {
        DestroyWindow(taskbar);
        DestroyWindow(dialog_);
        DestroyWindow(progman_);
    }
    RealDesktop(const RealDesktop&) = delete;
    RealDesktop& operator=(const RealDesktop&) = delete;

    HWND defView = nullptr;
    HWND listView = nullptr;
    HWND countdown = nullptr;
    HWND taskbar = nullptr;

  private:
    static void RegisterPlain(const wchar_t* className) {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = PlainWindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = className;
        RegisterClassW(&windowClass);
    }

    HWND progman_ = nullptr;
    HWND dialog_ = nullptr;
};

// The real window calls, except that lookups find only this process's windows and the cursor
// is a scripted point: the real cursor stays where the developer left it.
struct OwnWindowsDesktop : SystemDesktop {
    HWND Find(HWND parent, HWND after, const wchar_t* className, const wchar_t* title) {
        HWND found = after;
        while ((found = FindWindowExW(parent, found, className, title)) != nullptr) {
            DWORD process = 0;
            GetWindowThreadProcessId(found, &process);
            if (process == GetCurrentProcessId()) {
                return found;
            }
        }
        return nullptr;
    }
    bool CursorPos(POINT* p) {
        *p = cursor;
        return true;
    }
    POINT cursor = {400, 300};
};

}  // namespace

TEST(EngineAllocation, RealTicksOnRealWindowsAllocateNothing) {
    RealDesktop windows;
    OwnWindowsDesktop desktop;
    desktop.countdownBar = windows.countdown;
    EngineState state;
    state.idleSince = NowMs();
    WritableSettings() = Settings{};
    WritableSettings().show_icons_mouse_move = 1;
    WritableSettings().show_icons_win_d = 1;
    WritableSettings().hide_icons_by_m_mouse = 1;
    WritableSettings().hide_taskbar = 1;
    WritableSettings().auto_hide_icons_sec = 1000;

    const long long before = allocationCount;
    AutoHideTickOn(desktop, state);
    const LRESULT countdownSeconds = SendMessageW(windows.countdown, PBM_GETPOS, 0, 0);
    WritableSettings().auto_hide_icons_sec = 0;
    const POINT stops[] = {{400, 300}, {401, 300}, {640, 790}, {900, 500}, {900, 500}, {10, 10}};
    bool taskbarHidden = false;
    for (int round = 0; round < 20; ++round) {
        for (POINT stop : stops) {
            desktop.cursor = stop;
            Sleep(2);
            AutoHideTickOn(desktop, state);
            taskbarHidden = taskbarHidden || IsWindowVisible(windows.taskbar) == 0;
        }
    }
    // At rest the first tick hides the icons and the next the taskbar, whatever the moves
    // above happened to meet: with an idle time of 0 s a tick hides or not by whether the
    // millisecond turned within it.
    for (int resting = 0; resting < 3; ++resting) {
        Sleep(5);
        AutoHideTickOn(desktop, state);
        taskbarHidden = taskbarHidden || IsWindowVisible(windows.taskbar) == 0;
    }
    const long long allocations = allocationCount - before;
    const bool iconsHidden = IsWindowVisible(windows.listView) == 0;
    WritableSettings() = Settings{};

    EXPECT_EQ(allocations, 0);
    EXPECT_GE(countdownSeconds, 999) << "the tick moves the countdown bar it was given";
    EXPECT_TRUE(iconsHidden) << "with an idle time of 0 s the ticks hide the list view";
    EXPECT_TRUE(taskbarHidden) << "with hide_taskbar the ticks hide the taskbar once the cursor left it";
}
