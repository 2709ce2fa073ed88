// The auto-hide engine as the user meets it: the real program beside the desktop stand-in,
// driven by its settings dialog's timers, with real mouse and keyboard input.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "e2e/support/desktop_standin.h"
#include "e2e/support/dialog_app.h"
#include "e2e/support/menu_bar_driver.h"
#include "resource_ids.h"

namespace {

using e2e::DesktopStandin;
using e2e::DialogApp;

// Empty desktop right of the centred dialog, clear of Wine's taskbar.
constexpr POINT kRestingPoint = {1100, 300};
constexpr DWORD kTickSlackMs = 1500;

class Engine : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(standin_.Start());
        ASSERT_TRUE(e2e::MoveCursor(kRestingPoint.x, kRestingPoint.y));
    }
    void TearDown() override { standin_.Stop(); }

    static bool IconsVisible() { return DesktopStandin::IconsVisible(); }
    static bool WaitForIcons(bool visible, DWORD timeoutMs) {
        return e2e::WaitUntil([&] { return IconsVisible() == visible; }, timeoutMs);
    }
    // Starts Velmora and waits until the icons have gone after the idle time.
    void StartAndLetTheIconsHide(DialogApp& app) {
        ASSERT_NE(app.Start(), nullptr);
        ASSERT_TRUE(WaitForIcons(false, 10000));
    }
    static void ClickEmptyDesktop() {
        ASSERT_TRUE(e2e::MoveCursor(kRestingPoint.x, kRestingPoint.y));
        e2e::HoldLeftButton();
    }
    // A longer idle time restarts the countdown but leaves hidden icons hidden, so from then on
    // every tick shows on the countdown bar.
    static void RestartTheCountdownAtAMinute(DialogApp& app) { app.Dialog().DragSliderTo(60); }

    DesktopStandin standin_;
};

TEST_F(Engine, IconsHideAfterTheIdleTimeFromTheIniFile) {
    DialogApp app({{L"auto_hide_icons_sec", L"2"}});
    ASSERT_NE(app.Start(), nullptr);
    DWORD shown = GetTickCount();
    EXPECT_TRUE(IconsVisible());
    ASSERT_TRUE(WaitForIcons(false, 2000 + kTickSlackMs * 2));
    EXPECT_GE(GetTickCount() - shown, 1500u);
}

TEST_F(Engine, IconsHideAfterTheIdleTimeChosenOnTheSlider) {
    DialogApp app({{L"auto_hide_icons_sec", L"60"}});
    ASSERT_NE(app.Start(), nullptr);
    // A second gone on the program's clock: counted from the start, three would end too soon.
    ASSERT_TRUE(e2e::WaitUntil([&] { return app.Dialog().CountdownPosition() <= 58; }, 1000 + kTickSlackMs * 2));
    ASSERT_TRUE(IconsVisible());
    app.Dialog().DragSliderTo(3);  // three seconds, counted from the change
    DWORD changed = GetTickCount();
    ASSERT_TRUE(WaitForIcons(false, 3000 + kTickSlackMs * 2));
    EXPECT_GE(GetTickCount() - changed, 2500u);
}

TEST_F(Engine, CountdownBarFollowsTheRemainingSeconds) {
    DialogApp app({{L"auto_hide_icons_sec", L"8"}});
    ASSERT_NE(app.Start(), nullptr);
    EXPECT_EQ(app.Dialog().CountdownMaximum(), 8);
    Sleep(1200);
    int early = app.Dialog().CountdownPosition();
    EXPECT_GE(early, 5);
    EXPECT_LE(early, 7);
    Sleep(3000);
    int later = app.Dialog().CountdownPosition();
    EXPECT_GE(later, 2);
    EXPECT_LE(later, early - 2);
}

TEST_F(Engine, HeldClickOnTheEmptyDesktopShowsTheIcons) {
    DialogApp app({{L"auto_hide_icons_sec", L"1"}});
    StartAndLetTheIconsHide(app);
    ClickEmptyDesktop();
    EXPECT_TRUE(WaitForIcons(true, 1000));
}

TEST_F(Engine, LeftClickShowsNothingWhenItsOptionIsOff) {
    DialogApp app({{L"auto_hide_icons_sec", L"1"}, {L"show_icons_by_l_mouse", L"0"}});
    StartAndLetTheIconsHide(app);
    RestartTheCountdownAtAMinute(app);
    ASSERT_TRUE(e2e::MoveCursor(kRestingPoint.x, kRestingPoint.y));
    e2e::SendButton(MOUSEEVENTF_LEFTDOWN);
    e2e::WaitUntil([] { return GetAsyncKeyState(VK_LBUTTON) < 0; }, 2000);
    const bool ticked = app.Dialog().WaitForWholeTick();
    e2e::SendButton(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(ticked) << "no tick ran while the button was down";
    EXPECT_FALSE(IconsVisible());
}

TEST_F(Engine, EditingAnIconsLabelKeepsTheIconsVisible) {
    DialogApp app({{L"auto_hide_icons_sec", L"2"}});
    ASSERT_NE(app.Start(), nullptr);
    HWND listView = DesktopStandin::ListView();
    SendMessageW(listView, LVM_EDITLABELW, 2, 0);
    ASSERT_NE(SendMessageW(listView, LVM_GETEDITCONTROL, 0, 0), 0);
    // Past the idle time every tick still restarts it: the countdown bar never falls below a
    // second, which is what a whole tick needs to be seen.
    const DWORD opened = GetTickCount();
    do {
        ASSERT_TRUE(app.Dialog().WaitForWholeTick());
        ASSERT_TRUE(IconsVisible());
    } while (GetTickCount() - opened < 2500);
    SendMessageW(listView, LVM_CANCELEDITLABEL, 0, 0);
    EXPECT_TRUE(WaitForIcons(false, 2000 + kTickSlackMs * 2));
}

// The stand-in opens its context menu where it is asked to; the cursor is then moved onto it
// without a click, so only the open menu can bring the icons back.
class EngineContextMenu : public Engine {
  protected:
    void OpenDesktopMenu() {
        // Clear of the dialog: the corner above and left of the menu must be the desktop's.
        POINT at = {980, 120};
        PostMessageW(DesktopStandin::DefView(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(DesktopStandin::DefView()),
                     MAKELPARAM(at.x, at.y));
        ASSERT_TRUE(e2e::WaitUntil([] { return e2e::FindOpenMenu() != nullptr; }, 5000));
        ASSERT_TRUE(e2e::MoveCursor(at.x + 20, at.y + 10));
    }
    void TearDown() override {
        e2e::PressKeys({VK_ESCAPE}, 60);
        Engine::TearDown();
    }
};

TEST_F(EngineContextMenu, OpenDesktopMenuShowsTheIcons) {
    DialogApp app({{L"auto_hide_icons_sec", L"1"}});
    StartAndLetTheIconsHide(app);
    OpenDesktopMenu();
    EXPECT_TRUE(WaitForIcons(true, 1000));
}

TEST_F(EngineContextMenu, OpenDesktopMenuIsIgnoredWhenItsOptionIsOff) {
    DialogApp app({{L"auto_hide_icons_sec", L"1"}, {L"show_icons_by_contextmenu", L"0"}});
    StartAndLetTheIconsHide(app);
    RestartTheCountdownAtAMinute(app);
    OpenDesktopMenu();
    ASSERT_TRUE(app.Dialog().WaitForWholeTick());
    EXPECT_FALSE(IconsVisible());
}

TEST_F(Engine, DisabledProgramNeverHidesTheIcons) {
    DialogApp app({{L"auto_hide_icons_sec", L"1"}, {L"m_disable", L"1"}});
    ASSERT_NE(app.Start(), nullptr);
    // Without ticks there is nothing to see of them: watched past the idle time, and then the
    // program shows that it is still taking its messages.
    EXPECT_FALSE(WaitForIcons(false, 2500));
    ASSERT_TRUE(app.Dialog().CatchUp());
    EXPECT_TRUE(IconsVisible());
}

TEST_F(Engine, DisablingShowsHiddenIconsAndEnablingRestartsTheCountdown) {
    DialogApp app({{L"auto_hide_icons_sec", L"2"}});
    StartAndLetTheIconsHide(app);
    ASSERT_TRUE(app.Dialog().Toggle(IDC_DISABLE));
    EXPECT_TRUE(WaitForIcons(true, 1000));
    EXPECT_FALSE(WaitForIcons(false, 2500));
    ASSERT_TRUE(app.Dialog().CatchUp());
    EXPECT_TRUE(IconsVisible());
    ASSERT_TRUE(app.Dialog().Toggle(IDC_DISABLE));
    ASSERT_TRUE(e2e::MoveCursor(kRestingPoint.x, kRestingPoint.y));
    DWORD enabled = GetTickCount();
    ASSERT_TRUE(WaitForIcons(false, 2000 + kTickSlackMs * 2));
    EXPECT_GE(GetTickCount() - enabled, 1500u);
}

TEST_F(Engine, HideAtProgramStartHidesTheIconsAtOnceEvenInTheBackground) {
    DialogApp app({{L"auto_hide_icons_sec", L"60"}, {L"hide_at_programstart", L"1"}});
    ASSERT_NE(app.Start(L"-bg", {}, true), nullptr);
    EXPECT_TRUE(WaitForIcons(false, 1000));
    EXPECT_FALSE(app.Dialog().Visible());
}

TEST_F(Engine, HideAtProgramStartDoesNothingWhileDisabled) {
    DialogApp app({{L"auto_hide_icons_sec", L"60"}, {L"hide_at_programstart", L"1"}, {L"m_disable", L"1"}});
    // The dialog is shown once its set-up, where the icons would be hidden, is over.
    ASSERT_NE(app.Start(), nullptr);
    EXPECT_TRUE(IconsVisible());
}

TEST_F(Engine, HidePermanentlyKeepsTheShellsOwnSettingOff) {
    DialogApp app({{L"auto_hide_icons_sec", L"60"}});
    ASSERT_NE(app.Start(), nullptr);
    ASSERT_TRUE(app.Dialog().Toggle(IDC_DISABLE_PERMANENTLY));
    EXPECT_TRUE(e2e::WaitUntil([] { return DesktopStandin::ShellHideIconsSetting(); }, 1000));
    EXPECT_TRUE(WaitForIcons(false, 1000));
    // The user switches the icons back on in the shell: the next timer message undoes it.
    SendMessageW(DesktopStandin::DefView(), WM_COMMAND, e2e::kToggleDesktopIconsCommand, 0);
    ASSERT_FALSE(DesktopStandin::ShellHideIconsSetting());
    EXPECT_TRUE(e2e::WaitUntil([] { return DesktopStandin::ShellHideIconsSetting(); }, 1000));
    // Off again: the shell's setting comes back on, and so do the icons.
    ASSERT_TRUE(app.Dialog().Toggle(IDC_DISABLE_PERMANENTLY));
    EXPECT_TRUE(e2e::WaitUntil([] { return !DesktopStandin::ShellHideIconsSetting(); }, 1000));
    EXPECT_TRUE(WaitForIcons(true, 1000));
}

TEST_F(Engine, ExitShowsHiddenIconsAndTaskbar) {
    DialogApp app({{L"auto_hide_icons_sec", L"1"}, {L"hide_taskbar", L"1"}});
    StartAndLetTheIconsHide(app);
    HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    ShowWindow(taskbar, SW_HIDE);
    // The menu bar's "# Exit" button, clicked on the dialog: the icons stay hidden till then.
    e2e::MenuBarDriver bar(app.Dialog().Window());
    ASSERT_FALSE(IconsVisible());
    bar.Click(bar.RightToolbar(), IDM_EXIT);
    EXPECT_EQ(app.App().Running().WaitForExit(15000), 1);
    EXPECT_TRUE(IconsVisible());
    EXPECT_TRUE(IsWindowVisible(taskbar));
    ShowWindow(taskbar, SW_SHOW);
}

}  // namespace
