// The ways a real desktop ends programs that the program cannot see coming: the end of the
// session, End task, a crash on a thread of its own. Each starts with the icons and all three
// taskbars (Wine's and the stand-in's two secondary ones) hidden by the program itself, and
// ends with them visible.
#include <gtest/gtest.h>

#include <windows.h>

#include "e2e/support/desktop_standin.h"
#include "e2e/support/dialog_app.h"

namespace {

using e2e::DesktopStandin;
using e2e::DialogApp;

// Empty desktop right of the centred dialog, clear of every taskbar.
constexpr POINT kRestingPoint = {1100, 300};

class DesktopEnding : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(standin_.Start({e2e::Layout::kProgman, 2, false}));
        ASSERT_TRUE(e2e::MoveCursor(kRestingPoint.x, kRestingPoint.y));
    }
    void TearDown() override {
        ShowWindow(Taskbar(), SW_SHOW);
        for (HWND strip : DesktopStandin::SecondaryTaskbars()) {
            ShowWindow(strip, SW_SHOW);
        }
        standin_.Stop();
    }

    static HWND Taskbar() { return FindWindowW(L"Shell_TrayWnd", nullptr); }
    // Each of the two strips in `visible` state.
    static bool SecondariesAre(bool visible) {
        std::vector<HWND> strips = DesktopStandin::SecondaryTaskbars();
        for (HWND strip : strips) {
            if ((IsWindowVisible(strip) != 0) != visible) {
                return false;
            }
        }
        return strips.size() == 2;
    }
    // The icons and every taskbar.
    static bool EverythingHidden() {
        return !DesktopStandin::IconsVisible() && !IsWindowVisible(Taskbar()) && SecondariesAre(false);
    }
    static bool EverythingVisible() {
        return DesktopStandin::IconsVisible() && IsWindowVisible(Taskbar()) && SecondariesAre(true);
    }

    void KilledRunThenNextStart(const wchar_t* hideTaskbar);
    static void StartAndLetEverythingHide(DialogApp& app) {
        ASSERT_NE(app.Start(), nullptr);
        ASSERT_TRUE(e2e::WaitUntil(EverythingHidden, 15000)) << "the engine hides icons and taskbars";
    }

    DesktopStandin standin_;
};

// What an installer closing applications, a logoff or a shutdown sends. The system may end
// the process at any moment after the answer, so the desktop must be back by then, and stay
// back while the process lives on.
TEST_F(DesktopEnding, EndOfSessionShowsEverythingBeforeAnsweringAndNothingHidesAfterIt) {
    for (LPARAM reason : {static_cast<LPARAM>(ENDSESSION_CLOSEAPP), static_cast<LPARAM>(ENDSESSION_LOGOFF)}) {
        SCOPED_TRACE(reason == ENDSESSION_CLOSEAPP ? "close-app" : "logoff");
        DialogApp app({{L"auto_hide_icons_sec", L"1"}, {L"hide_taskbar", L"1"}});
        StartAndLetEverythingHide(app);
        HWND mainWindow = app.App().WaitForMainWindow();
        DWORD_PTR answer = 0;
        ASSERT_NE(SendMessageTimeoutW(mainWindow, WM_QUERYENDSESSION, 0, reason, SMTO_BLOCK, 5000, &answer), 0);
        EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE)) << "the end of the session is never refused";
        ASSERT_NE(SendMessageTimeoutW(mainWindow, WM_ENDSESSION, TRUE, reason, SMTO_BLOCK, 5000, &answer), 0);
        EXPECT_TRUE(EverythingVisible()) << "visible when the answer arrives";

        // Longer than the idle time (a second) and a few ticks, with the dialog answering all
        // along: its timers keep coming, and none of them hides anything again.
        const DWORD start = GetTickCount();
        bool stayedVisible = true;
        while (GetTickCount() - start < 1300) {
            ASSERT_NE(SendMessageTimeoutW(app.Dialog().Window(), WM_NULL, 0, 0, SMTO_BLOCK, 5000, &answer), 0);
            stayedVisible = stayedVisible && EverythingVisible();
            Sleep(50);
        }
        EXPECT_TRUE(stayedVisible);
        app.App().Running().Kill();
    }
}

// End task runs no code of the program. The next start shows what the killed run hid, and
// only that: a secondary taskbar hidden by someone else stays hidden. The next run's own
// hide_taskbar makes no difference.
void DesktopEnding::KilledRunThenNextStart(const wchar_t* hideTaskbar) {
    {
        DialogApp killed({{L"auto_hide_icons_sec", L"1"}, {L"hide_taskbar", L"1"}});
        StartAndLetEverythingHide(killed);
        killed.App().Running().Kill();
        ASSERT_TRUE(EverythingHidden());
    }
    // The killed run hid both strips. One of them makes way for a new one, which someone
    // else hides: it carries no mark of the program.
    ASSERT_TRUE(standin_.SetSecondaryTaskbars(1));
    const HWND kept = DesktopStandin::SecondaryTaskbars().at(0);
    ASSERT_TRUE(standin_.SetSecondaryTaskbars(2));
    HWND other = nullptr;
    for (HWND strip : DesktopStandin::SecondaryTaskbars()) {
        other = strip != kept ? strip : other;
    }
    ASSERT_NE(other, nullptr);
    ShowWindow(other, SW_HIDE);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindowVisible(other); }, 5000));

    DialogApp next({{L"auto_hide_icons_sec", L"600"}, {L"hide_taskbar", hideTaskbar}});
    next.App().Start();
    // Shown before the main window is made; the windows take it in their own time.
    ASSERT_NE(next.App().WaitForMainWindow(), nullptr);
    EXPECT_TRUE(e2e::WaitUntil(
        [&] { return DesktopStandin::IconsVisible() && IsWindowVisible(Taskbar()) && IsWindowVisible(kept); },
        5000));
    EXPECT_FALSE(IsWindowVisible(other)) << "hidden by someone else";
    ShowWindow(other, SW_SHOW);
    next.App().Running().Kill();
}

TEST_F(DesktopEnding, NextStartWithoutHideTaskbarShowsWhatAKilledRunLeftHidden) {
    KilledRunThenNextStart(L"0");
}

TEST_F(DesktopEnding, NextStartWithHideTaskbarShowsWhatAKilledRunLeftHidden) {
    KilledRunThenNextStart(L"1");
}

// A thread of the process that is not the GUI thread crashes while the GUI thread goes on
// ticking with a one-second idle time: the restore must not be undone before the process dies.
TEST_F(DesktopEnding, CrashOnAnotherThreadLeavesEverythingVisible) {
    DialogApp app({{L"auto_hide_icons_sec", L"1"}, {L"hide_taskbar", L"1"}});
    StartAndLetEverythingHide(app);
    HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, app.App().Running().Id());
    ASSERT_NE(process, nullptr);
    const auto invalidAddress = reinterpret_cast<LPTHREAD_START_ROUTINE>(static_cast<ULONG_PTR>(0x10));
    HANDLE thread = CreateRemoteThread(process, nullptr, 0, invalidAddress, nullptr, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(WaitForSingleObject(process, 30000), WAIT_OBJECT_0) << "the crash ends the process";
    EXPECT_TRUE(EverythingVisible());
    CloseHandle(thread);
    CloseHandle(process);
}

}  // namespace
