// The auto-hide engine as the user meets it: the real program beside the desktop stand-in,
// driven by its settings dialog's timers, with real mouse and keyboard input. One program run
// per group of behaviour; the engine's rules themselves (every option, every clock edge) are
// unit-tested on a scripted desktop (tests/unit/engine_*_test.cpp).
//
// A minimum time is measured from a moment before the program's clock started it (the call
// that makes the change, or the process's creation), never from when the call returned, and
// a maximum time is a generous deadline: only the order of events is the program's promise.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <thread>

#include "e2e/support/desktop_standin.h"
#include "e2e/support/dialog_app.h"
#include "e2e/support/menu_bar_driver.h"
#include "resource_ids.h"

namespace {

using e2e::DesktopStandin;
using e2e::DialogApp;

// Empty desktop right of the centred dialog, clear of Wine's taskbar.
constexpr POINT kRestingPoint = {1100, 300};
// Where the stand-in is asked to open its context menu: clear of the dialog, so that the
// corner above and left of the menu is the desktop's.
constexpr POINT kMenuPoint = {980, 120};
// What the program answers within a tick, given time for a loaded machine.
constexpr DWORD kAnswerMs = 5000;

class Engine : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(standin_.Start());
        ASSERT_TRUE(e2e::MoveCursor(kRestingPoint.x, kRestingPoint.y));
    }
    void TearDown() override {
        CloseDesktopMenu();
        ShowWindow(Taskbar(), SW_SHOW);
        standin_.Stop();
    }

    static HWND Taskbar() { return FindWindowW(L"Shell_TrayWnd", nullptr); }
    static bool IconsVisible() { return DesktopStandin::IconsVisible(); }
    static bool WaitForIcons(bool visible, DWORD timeoutMs = kAnswerMs) {
        return e2e::WaitUntil([&] { return IconsVisible() == visible; }, timeoutMs);
    }
    // Waits until the icons have gone after an idle time of `seconds` that began at `since`
    // (GetTickCount() taken before the program's clock started it), and checks that they did
    // not go sooner.
    static void ExpectHiddenNoSoonerThan(DWORD since, DWORD seconds) {
        ASSERT_TRUE(WaitForIcons(false, seconds * 1000 + kAnswerMs));
        EXPECT_GE(GetTickCount() - since, seconds * 1000) << "hidden before the idle time was up";
    }
    // Watches the icons stay for longer than an idle time of a second and a few ticks, then
    // lets the program show that it is still taking its messages.
    static void ExpectIconsStay(const DialogApp& app) {
        EXPECT_FALSE(WaitForIcons(false, 1300));
        ASSERT_TRUE(app.Dialog().CatchUp());
        EXPECT_TRUE(IconsVisible());
    }
    static void ClickEmptyDesktop() {
        ASSERT_TRUE(e2e::MoveCursor(kRestingPoint.x, kRestingPoint.y));
        e2e::HoldLeftButton();
    }
    // The stand-in opens its context menu where it is asked to; the cursor is then moved onto
    // it without a click, so only the open menu can bring the icons back.
    static void OpenDesktopMenu() {
        PostMessageW(DesktopStandin::DefView(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(DesktopStandin::DefView()),
                     MAKELPARAM(kMenuPoint.x, kMenuPoint.y));
        ASSERT_TRUE(e2e::WaitUntil([] { return e2e::FindOpenMenu() != nullptr; }, kAnswerMs));
        ASSERT_TRUE(e2e::MoveCursor(kMenuPoint.x + 20, kMenuPoint.y + 10));
    }
    // Opens a label's editor while the icons are shown. The idle time is a second, so a tick
    // may hide the icons before the editor is open: then a click shows them and the editor is
    // opened again. Once a whole tick has run with the editor open and the icons shown, every
    // tick keeps them.
    static bool EditALabelWhileTheIconsAreShown(const DialogApp& app) {
        const HWND listView = DesktopStandin::ListView();
        for (int attempt = 0; attempt < 3; ++attempt) {
            SendMessageW(listView, LVM_CANCELEDITLABEL, 0, 0);
            if (!IconsVisible()) {
                ClickEmptyDesktop();
            }
            if (!WaitForIcons(true)) {
                continue;
            }
            SendMessageW(listView, LVM_EDITLABELW, 2, 0);
            if (SendMessageW(listView, LVM_GETEDITCONTROL, 0, 0) != 0 && app.Dialog().WaitForWholeTick() &&
                IconsVisible()) {
                return true;
            }
        }
        return false;
    }
    // The cursor off the menu, whose first item may have opened its submenu, and Escape posted
    // to the open menus one by one: the stand-in, never clicked, does not have the keyboard.
    static void CloseDesktopMenu() {
        ASSERT_TRUE(e2e::MoveCursor(kRestingPoint.x, kRestingPoint.y));
        ASSERT_TRUE(e2e::WaitUntil(
            [] {
                if (HWND menu = e2e::FindOpenMenu()) {
                    e2e::PressKeysInMenu(menu, {VK_ESCAPE});
                    Sleep(50);
                }
                return e2e::FindOpenMenu() == nullptr;
            },
            kAnswerMs));
    }

    DesktopStandin standin_;
};

// A core kept busy by a thread of the test, for as long as it lives.
class BusyLoop {
  public:
    BusyLoop()
        : thread_([this] {
              while (!stop_.load()) {
              }
          }) {}
    ~BusyLoop() {
        stop_.store(true);
        thread_.join();
    }
    BusyLoop(const BusyLoop&) = delete;
    BusyLoop& operator=(const BusyLoop&) = delete;

  private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// How many of ten rounds of 5 ms clicks where the cursor is, a middle one to hide the icons
// and a left one to show them, did both.
int RoundsOfTapsThatHideAndShow() {
    int done = 0;
    for (int round = 0; round < 10; ++round) {
        e2e::HoldMiddleButton(5);
        if (e2e::WaitUntil([] { return !DesktopStandin::IconsVisible(); }, kAnswerMs)) {
            e2e::HoldLeftButton(5);
            done += e2e::WaitUntil(DesktopStandin::IconsVisible, kAnswerMs) ? 1 : 0;
        }
    }
    return done;
}

// Two 5 ms clicks at `at`, `gapMs` apart.
void ClickTwiceAt(POINT at, DWORD gapMs) {
    ASSERT_TRUE(e2e::MoveCursor(at.x, at.y));
    e2e::HoldLeftButton(5);
    Sleep(gapMs - 5);
    e2e::HoldLeftButton(5);
}

// The INI file's idle time runs on the countdown bar, and a new time from the slider starts
// counting at the change.
TEST_F(Engine, IdleTimeFromTheIniFileRunsOnTheCountdownBarAndTheSliderStartsItAnew) {
    DialogApp app({{L"auto_hide_icons_sec", L"60"}});
    ASSERT_NE(app.Start(), nullptr);
    EXPECT_EQ(app.Dialog().CountdownMaximum(), 60);
    // Every tick writes the remaining whole seconds: more than a second gone on the program's
    // clock, and counting down from the INI file's minute.
    ASSERT_TRUE(e2e::WaitUntil([&] { return app.Dialog().CountdownPosition() <= 58; }, 10000));
    EXPECT_GE(app.Dialog().CountdownPosition(), 45);
    ASSERT_TRUE(IconsVisible());
    // A second from the change. Counted from the start it would be up already.
    const DWORD beforeChange = GetTickCount();
    app.Dialog().DragSliderTo(1);
    ExpectHiddenNoSoonerThan(beforeChange, 1);
}

// Hidden icons come back for a held click on the empty desktop and for the desktop's open
// context menu; the "# Exit" button ends the program with the icons and the taskbar shown.
TEST_F(Engine, HeldClickAndTheOpenDesktopMenuShowTheIconsAndExitShowsEverything) {
    DialogApp app({{L"auto_hide_icons_sec", L"1"}, {L"hide_taskbar", L"1"}});
    ASSERT_NE(app.Start(), nullptr);
    ASSERT_TRUE(WaitForIcons(false, 1000 + kAnswerMs));

    ClickEmptyDesktop();
    EXPECT_TRUE(WaitForIcons(true));
    ASSERT_TRUE(WaitForIcons(false, 1000 + kAnswerMs));

    OpenDesktopMenu();
    EXPECT_TRUE(WaitForIcons(true));
    CloseDesktopMenu();
    ASSERT_TRUE(WaitForIcons(false, 1000 + kAnswerMs));

    // The taskbar is hidden too, whether by the engine already or here.
    ShowWindow(Taskbar(), SW_HIDE);
    // The desktop had the last clicks: the dialog comes to the front first.
    app.Dialog().Activate();
    e2e::MenuBarDriver bar(app.Dialog().Window());
    ASSERT_FALSE(IconsVisible());
    bar.Click(bar.RightToolbar(), IDM_EXIT);
    EXPECT_EQ(app.App().Running().WaitForExit(15000), 1);
    EXPECT_TRUE(IconsVisible());
    EXPECT_TRUE(IsWindowVisible(Taskbar()));
}

// A touchpad's tap is over in a few milliseconds, long before the next tick: every 5 ms click
// on the empty desktop counts, also while another program keeps a core busy, and 5 ms clicks
// on another window count for nothing.
TEST_F(Engine, FiveMillisecondClicksCountOnTheEmptyDesktopAndNowhereElse) {
    DialogApp app(
        {{L"auto_hide_icons_sec", L"600"}, {L"hide_icons_by_m_mouse", L"1"}, {L"show_icons_by_m_mouse", L"0"}});
    ASSERT_NE(app.Start(), nullptr);
    ASSERT_TRUE(app.Dialog().CatchUp());  // the program has set up all it watches
    EXPECT_EQ(RoundsOfTapsThatHideAndShow(), 10);
    {
        BusyLoop busy;
        EXPECT_EQ(RoundsOfTapsThatHideAndShow(), 10) << "beside a busy loop";
    }

    e2e::HoldMiddleButton(5);
    ASSERT_TRUE(WaitForIcons(false));
    // On the dialog, where a click does nothing (inside the options group's frame): the
    // desktop had the last clicks, so the dialog comes to the front first, by a click there.
    app.Dialog().Activate();
    POINT onDialog = {};
    GetCursorPos(&onDialog);
    ASSERT_EQ(GetAncestor(WindowFromPoint(onDialog), GA_ROOT), app.Dialog().Window());
    for (int tap = 0; tap < 5; ++tap) {
        e2e::HoldLeftButton(5);
        Sleep(20);
    }
    ASSERT_TRUE(app.Dialog().CatchUp());
    EXPECT_FALSE(WaitForIcons(true, 500)) << "clicks on another window";
}

// hide_icons_by_dblclick, the "More options" item after the hot key: a double-click on the
// empty desktop (two 5 ms clicks 150 ms apart) hides the icons at once; off, on an icon, with
// the clicks further apart than the double-click time, or starting with the icons hidden, it
// hides nothing.
TEST_F(Engine, DoubleClickOnTheEmptyDesktopHidesTheIconsWithItsOption) {
    constexpr int kDoubleClickItem = 7;  // of "More options", separators not counted
    DialogApp app({{L"auto_hide_icons_sec", L"600"}});
    ASSERT_NE(app.Start(), nullptr);
    ASSERT_TRUE(app.Dialog().CatchUp());
    const DWORD apart = GetDoubleClickTime() + 100;  // between double-clicks, so none pairs with the last
    auto iconsStay = [&] { return app.Dialog().CatchUp() && !WaitForIcons(!IconsVisible(), 300); };

    ClickTwiceAt(kRestingPoint, 150);
    EXPECT_TRUE(iconsStay() && IconsVisible()) << "the option off";
    app.Dialog().Activate();  // the desktop had the last clicks
    ASSERT_TRUE(app.Dialog().ChooseMoreOption(kDoubleClickItem));
    EXPECT_TRUE(e2e::WaitUntil([&] { return app.Ini(L"hide_icons_by_dblclick") == L"1"; }, kAnswerMs));

    // Clear of the top-left corner, where Wine may show a tray window of its own.
    ClickTwiceAt(DesktopStandin::IconPoint(7), 150);
    EXPECT_TRUE(iconsStay() && IconsVisible()) << "on an icon";
    Sleep(apart);
    ClickTwiceAt(kRestingPoint, apart);
    EXPECT_TRUE(iconsStay() && IconsVisible()) << "further apart than the double-click time";
    Sleep(apart);
    ClickTwiceAt(kRestingPoint, 150);
    EXPECT_TRUE(WaitForIcons(false)) << "on the empty desktop";
    Sleep(apart);
    ClickTwiceAt(kRestingPoint, 150);
    EXPECT_TRUE(WaitForIcons(true) && iconsStay()) << "starting with the icons hidden";
}

// A label being edited keeps the icons past the idle time; closed, it lets them go after
// another idle time.
TEST_F(Engine, LabelEditorKeepsTheIconsPastTheIdleTime) {
    DialogApp app({{L"auto_hide_icons_sec", L"1"}});
    ASSERT_NE(app.Start(), nullptr);
    ASSERT_TRUE(EditALabelWhileTheIconsAreShown(app));
    // Past the idle time every tick still restarts it: the countdown bar never falls below a
    // second, which is what a whole tick needs to be seen.
    const DWORD opened = GetTickCount();
    do {
        ASSERT_TRUE(app.Dialog().WaitForWholeTick());
        ASSERT_TRUE(IconsVisible());
    } while (GetTickCount() - opened < 1500);
    const DWORD beforeClose = GetTickCount();
    SendMessageW(DesktopStandin::ListView(), LVM_CANCELEDITLABEL, 0, 0);
    ExpectHiddenNoSoonerThan(beforeClose, 1);
}

// Disabled in the INI file the program hides nothing, not even at its start when told to;
// enabled, it counts the idle time from the click; disabled again, it shows the hidden icons
// at once and keeps them.
TEST_F(Engine, DisableStopsTheEngineAndEnablingCountsTheIdleTimeFromTheClick) {
    DialogApp app({{L"auto_hide_icons_sec", L"1"}, {L"m_disable", L"1"}, {L"hide_at_programstart", L"1"}});
    // The dialog is shown once its set-up, where the icons would be hidden, is over.
    ASSERT_NE(app.Start(), nullptr);
    EXPECT_TRUE(IconsVisible());
    // Without ticks there is nothing to see of them: watched past the idle time.
    ExpectIconsStay(app);

    const DWORD beforeEnable = GetTickCount();
    ASSERT_TRUE(app.Dialog().Toggle(IDC_DISABLE));
    ExpectHiddenNoSoonerThan(beforeEnable, 1);

    ASSERT_TRUE(app.Dialog().Toggle(IDC_DISABLE));
    EXPECT_TRUE(WaitForIcons(true));
    ExpectIconsStay(app);
}

TEST_F(Engine, HideAtProgramStartHidesTheIconsAtOnceEvenInTheBackground) {
    DialogApp app({{L"auto_hide_icons_sec", L"60"}, {L"hide_at_programstart", L"1"}});
    ASSERT_NE(app.Start(L"-bg", {}, true), nullptr);
    // Long before the minute of idle time.
    EXPECT_TRUE(WaitForIcons(false));
    EXPECT_FALSE(app.Dialog().Visible());
}

TEST_F(Engine, HidePermanentlyKeepsTheShellsOwnSettingOff) {
    DialogApp app({{L"auto_hide_icons_sec", L"60"}});
    ASSERT_NE(app.Start(), nullptr);
    ASSERT_TRUE(app.Dialog().Toggle(IDC_DISABLE_PERMANENTLY));
    EXPECT_TRUE(e2e::WaitUntil([] { return DesktopStandin::ShellHideIconsSetting(); }, kAnswerMs));
    EXPECT_TRUE(WaitForIcons(false));
    // The user switches the icons back on in the shell: the next timer message undoes it. The
    // program's thread is held meanwhile, so that the switch is seen before its undo.
    HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, GetWindowThreadProcessId(app.Dialog().Window(), nullptr));
    ASSERT_NE(thread, nullptr);
    ASSERT_NE(SuspendThread(thread), static_cast<DWORD>(-1));
    SendMessageW(DesktopStandin::DefView(), WM_COMMAND, e2e::kToggleDesktopIconsCommand, 0);
    const bool switchedOn = !DesktopStandin::ShellHideIconsSetting();
    ResumeThread(thread);
    CloseHandle(thread);
    ASSERT_TRUE(switchedOn);
    EXPECT_TRUE(e2e::WaitUntil([] { return DesktopStandin::ShellHideIconsSetting(); }, kAnswerMs));
    // Off again: the shell's setting comes back on, and so do the icons.
    ASSERT_TRUE(app.Dialog().Toggle(IDC_DISABLE_PERMANENTLY));
    EXPECT_TRUE(e2e::WaitUntil([] { return !DesktopStandin::ShellHideIconsSetting(); }, kAnswerMs));
    EXPECT_TRUE(WaitForIcons(true));
}

}  // namespace
