// The tick runs about 33 times a second for the life of the program, so it must not touch the
// heap. Every operator new of this test program is counted; the scripted engine tests check
// each tick, and the test below runs the real tick on real windows of this process.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <new>

#include "allocation_counter.h"
#include "app/process_objects.h"
#include "desktop/auto_hide_engine.h"
#include "desktop/taskbar.h"
#include "settings/settings.h"

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

// A shell desktop and a settings dialog with its countdown bar, made of this process's own
// windows, so the real tick has something to find and change.
class RealDesktop {
  public:
    RealDesktop() {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        RegisterPlain(L"VelmoraTestProgman");
        RegisterPlain(L"SHELLDLL_DefView");
        RegisterPlain(L"VelmoraTestDialog");
        progman_ = CreateWindowExW(WS_EX_TOOLWINDOW, L"VelmoraTestProgman", L"Program Manager", WS_POPUP | WS_VISIBLE,
                                   0, 0, 1280, 760, nullptr, nullptr, nullptr, nullptr);
        SetWindowPos(progman_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        defView = CreateWindowExW(0, L"SHELLDLL_DefView", L"", WS_CHILD | WS_VISIBLE, 0, 0, 1280, 760, progman_,
                                  nullptr, nullptr, nullptr);
        listView = CreateWindowExW(0, WC_LISTVIEWW, L"FolderView", WS_CHILD | WS_VISIBLE | LVS_ICON | LVS_EDITLABELS, 0,
                                   0, 1280, 760, defView, nullptr, nullptr, nullptr);
        dialog_ = CreateWindowExW(0, L"VelmoraTestDialog", L"Velmora", WS_OVERLAPPED, 0, 0, 300, 100, nullptr, nullptr,
                                  nullptr, nullptr);
        countdown = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 10, 10, 200, 20, dialog_,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCountdownBarId)), nullptr, nullptr);
        SendMessageW(countdown, PBM_SETRANGE32, 0, 1000);
        settingsDialog = dialog_;
    }
    ~RealDesktop() {
        settingsDialog = nullptr;
        DestroyWindow(dialog_);
        DestroyWindow(progman_);
    }
    RealDesktop(const RealDesktop&) = delete;
    RealDesktop& operator=(const RealDesktop&) = delete;

    HWND defView = nullptr;
    HWND listView = nullptr;
    HWND countdown = nullptr;

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

void ResetEngine() {
    settings = Settings{};
    idleSince = NowMs();
    taskbarSinceSet = false;
    lastCursor = {0, 0};
}

}  // namespace

TEST(EngineAllocation, RealTicksOnRealWindowsAllocateNothing) {
    RealDesktop desktop;
    ResetEngine();
    settings.show_icons_mouse_move = 1;
    settings.show_icons_win_d = 1;
    settings.hide_icons_by_m_mouse = 1;
    settings.hide_taskbar = 1;
    settings.auto_hide_icons_sec = 1000;
    SetCursorPos(400, 300);

    const long long before = allocationCount;
    RunAutoHideTick();
    const LRESULT countdownSeconds = SendMessageW(desktop.countdown, PBM_GETPOS, 0, 0);
    settings.auto_hide_icons_sec = 0;
    const POINT stops[] = {{400, 300}, {401, 300}, {640, 790}, {900, 500}, {900, 500}, {10, 10}};
    for (int round = 0; round < 20; ++round) {
        for (POINT stop : stops) {
            SetCursorPos(stop.x, stop.y);
            Sleep(2);
            RunAutoHideTick();
        }
    }
    for (int resting = 0; resting < 3; ++resting) {
        Sleep(5);
        RunAutoHideTick();
    }
    const long long allocations = allocationCount - before;
    const bool iconsHidden = IsWindowVisible(desktop.listView) == 0;
    ShowTaskbars();
    settings = Settings{};

    EXPECT_EQ(allocations, 0);
    EXPECT_GE(countdownSeconds, 999) << "the tick moves control 1036 of the settings dialog";
    EXPECT_TRUE(iconsHidden) << "with an idle time of 0 s the ticks hide the real list view";
}
