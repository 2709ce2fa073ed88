// Three monitors: Wine's taskbar plays the primary one, the stand-in's two strips the
// secondary ones. The program hides and shows each of the three, not only the first it finds.
// (The end of the session and a crash on another thread are in desktop_ending_test.cpp, on
// the same desktop.)
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "e2e/support/desktop_standin.h"
#include "e2e/support/dialog_app.h"
#include "e2e/support/dialog_driver.h"

namespace {

using e2e::DesktopStandin;
using e2e::DialogApp;

// Empty desktop right of the centred dialog, clear of every taskbar.
constexpr POINT kRestingPoint = {1100, 300};
constexpr UINT kTrayCallback = WM_APP + 100;  // 32868
constexpr UINT kTrayIconId = 107;
// Items of the tray menu counted upwards from the last one, which End selects.
constexpr int kHideEverythingUp = 0;
constexpr int kShowEverythingUp = 1;

class DesktopEveryTaskbar : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(standin_.Start({e2e::Layout::kProgman, 2, false}));
        ASSERT_EQ(Strips().size(), 2u);
        ASSERT_TRUE(e2e::MoveCursor(kRestingPoint.x, kRestingPoint.y));
    }
    void TearDown() override {
        ShowWindow(Primary(), SW_SHOW);
        for (HWND strip : Strips()) {
            ShowWindow(strip, SW_SHOW);
        }
        standin_.Stop();
    }

    static HWND Primary() { return FindWindowW(L"Shell_TrayWnd", nullptr); }
    static std::vector<HWND> Strips() { return DesktopStandin::SecondaryTaskbars(); }
    static bool Visible(HWND window) { return IsWindowVisible(window) != 0; }
    static bool AllTaskbarsAre(bool visible) {
        bool all = Visible(Primary()) == visible;
        for (HWND strip : Strips()) {
            all = all && Visible(strip) == visible;
        }
        return all;
    }
    static bool EverythingHidden() { return !DesktopStandin::IconsVisible() && AllTaskbarsAre(false); }
    static bool EverythingVisible() { return DesktopStandin::IconsVisible() && AllTaskbarsAre(true); }
    static POINT Centre(HWND window) {
        RECT rect = {};
        GetWindowRect(window, &rect);
        return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }

    // Opens the tray menu as the shell would after a right press, and picks an item with
    // keys posted to the menu.
    static bool ChooseTrayItem(HWND mainWindow, int upFromLast) {
        PostMessageW(mainWindow, kTrayCallback, kTrayIconId, WM_RBUTTONDOWN);
        HWND menu = nullptr;
        if (!e2e::WaitUntil([&] { return (menu = e2e::FindOpenMenu()) != nullptr; }, 5000)) {
            return false;
        }
        auto press = [&](WPARAM key) {
            PostMessageW(menu, WM_KEYDOWN, key, 1);
            PostMessageW(menu, WM_KEYUP, key, 1 | 0xC0000000);
        };
        press(VK_END);
        for (int up = 0; up < upFromLast; ++up) {
            press(VK_UP);
        }
        press(VK_RETURN);
        return e2e::WaitUntil([] { return e2e::FindOpenMenu() == nullptr; }, 5000);
    }

    DesktopStandin standin_;
};

// The engine's rules, each taskbar on its own: the idle time hides all three; the cursor on
// one hidden strip brings that one back and no other; a click on the desktop brings both strips,
// and the primary taskbar once the cursor touches it.
TEST_F(DesktopEveryTaskbar, IdleHidesAllThreeTouchShowsOneClickShowsTheStrips) {
    DialogApp app({{L"auto_hide_icons_sec", L"1"}, {L"hide_taskbar", L"1"}});
    ASSERT_NE(app.Start(), nullptr);
    ASSERT_TRUE(e2e::WaitUntil(EverythingHidden, 15000)) << "the idle time hides icons and all three taskbars";

    for (HWND touched : Strips()) {
        SCOPED_TRACE(touched == Strips().front() ? "first strip" : "second strip");
        const HWND other = touched == Strips().front() ? Strips().back() : Strips().front();
        ASSERT_TRUE(AllTaskbarsAre(false));
        const POINT on = Centre(touched);
        ASSERT_TRUE(e2e::MoveCursor(on.x, on.y));
        EXPECT_TRUE(e2e::WaitUntil([&] { return Visible(touched); }, 5000));
        // Watched over several ticks with the cursor on it: the others stay away.
        ASSERT_TRUE(app.Dialog().CatchUp());
        EXPECT_FALSE(e2e::WaitUntil(
            [&] { return Visible(other) || Visible(Primary()) || DesktopStandin::IconsVisible(); }, 300));
        // Left alone, it goes again once the idle time has passed since the touch.
        ASSERT_TRUE(e2e::MoveCursor(kRestingPoint.x, kRestingPoint.y));
        EXPECT_TRUE(e2e::WaitUntil([&] { return !Visible(touched); }, 5000));
    }

    e2e::HoldLeftButton();
    EXPECT_TRUE(e2e::WaitUntil(
        [] { return DesktopStandin::IconsVisible() && Visible(Strips().front()) && Visible(Strips().back()); }, 5000))
        << "the click brings the icons and both strips";
    // Watched over several ticks, well within the idle time of a second: the primary one waits.
    ASSERT_TRUE(app.Dialog().CatchUp());
    EXPECT_FALSE(e2e::WaitUntil([] { return Visible(Primary()); }, 300)) << "the primary taskbar after the click";
    const POINT onPrimary = Centre(Primary());  // a hidden window keeps its rectangle
    ASSERT_TRUE(e2e::MoveCursor(onPrimary.x, onPrimary.y));
    EXPECT_TRUE(e2e::WaitUntil([] { return Visible(Primary()); }, 5000)) << "the primary taskbar, touched";
}

// The ways back that do not go through the engine: the tray menu's "Show everything" after
// its "Hide everything", and the exit word.
TEST_F(DesktopEveryTaskbar, ShowEverythingAndTheExitWordShowAllThree) {
    DialogApp app({{L"auto_hide_icons_sec", L"600"}, {L"hide_taskbar", L"1"}});
    ASSERT_NE(app.Start(), nullptr);
    HWND mainWindow = app.App().WaitForMainWindow();
    ASSERT_NE(mainWindow, nullptr);

    ASSERT_TRUE(ChooseTrayItem(mainWindow, kHideEverythingUp));
    ASSERT_TRUE(e2e::WaitUntil(EverythingHidden, 5000)) << "\"Hide everything\" hides all three";
    ASSERT_TRUE(ChooseTrayItem(mainWindow, kShowEverythingUp));
    EXPECT_TRUE(e2e::WaitUntil(EverythingVisible, 5000)) << "\"Show everything\"";

    ASSERT_TRUE(ChooseTrayItem(mainWindow, kHideEverythingUp));
    ASSERT_TRUE(e2e::WaitUntil(EverythingHidden, 5000));
    EXPECT_EQ(app.App().EndWithExitWord(), 0);
    EXPECT_TRUE(EverythingVisible()) << "the exit word";
}

}  // namespace
