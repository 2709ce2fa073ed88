#include "engine_fixture.h"

using EngineClicks = EngineTest;

namespace {

struct ButtonOption {
    int virtualKey;
    int Settings::*option;
};

constexpr ButtonOption kButtons[] = {
    {VK_LBUTTON, &Settings::show_icons_by_l_mouse},
    {VK_RBUTTON, &Settings::show_icons_by_r_mouse},
    {VK_MBUTTON, &Settings::show_icons_by_m_mouse},
};

}  // namespace

TEST_F(EngineClicks, AnEnabledButtonOnTheEmptyDesktopShowsTheIconsLeavingTheCountdownAlone) {
    for (ButtonOption button : kButtons) {
        SCOPED_TRACE(button.virtualKey);
        const int hiddenAt = HideIconsByIdling();
        Press(button.virtualKey);
        TickAt(hiddenAt + 30);
        Release(button.virtualKey);
        EXPECT_TRUE(IconsVisible());
        EXPECT_EQ(state.idleSince, hiddenAt + 30);
        EXPECT_EQ(desk.countdownWrites, 0);
        TickAt(hiddenAt + 60);
        EXPECT_EQ(desk.countdown, 4);
        state.lastCursor = {0, 0};
    }
}

TEST_F(EngineClicks, ADisabledButtonDoesNotShowTheIcons) {
    for (ButtonOption button : kButtons) {
        SCOPED_TRACE(button.virtualKey);
        WritableSettings().*button.option = 0;
        const int hiddenAt = HideIconsByIdling();
        Press(button.virtualKey);
        TickAt(hiddenAt + 30);
        Release(button.virtualKey);
        EXPECT_FALSE(IconsVisible());
        WritableSettings().*button.option = 1;
        desk.SetVisible(listView, true);
        state.lastCursor = {0, 0};
    }
}

TEST_F(EngineClicks, AClickOnAnotherWindowDoesNotShowTheIcons) {
    const int hiddenAt = HideIconsByIdling();
    Press(VK_LBUTTON);
    TickAt(hiddenAt + 30, kOnEditor);
    EXPECT_FALSE(IconsVisible());
}

TEST_F(EngineClicks, AClickOnTheVisibleIconsRestartsTheIdleTime) {
    TickAt(0, kOnDesktop);
    Press(VK_RBUTTON);
    TickAt(4000);
    Release(VK_RBUTTON);
    TickAt(9000);
    EXPECT_TRUE(IconsVisible());
    TickAt(9001);
    EXPECT_FALSE(IconsVisible());
}

TEST_F(EngineClicks, WinDShowsTheIconsOnlyOverTheEmptyDesktop) {
    WritableSettings().show_icons_win_d = 1;
    const int hiddenAt = HideIconsByIdling();
    Press(VK_LWIN);
    Press('D');
    TickAt(hiddenAt + 30, kOnEditor);
    EXPECT_FALSE(IconsVisible());
    TickAt(hiddenAt + 60, kOnDesktop);
    EXPECT_TRUE(IconsVisible());
}

TEST_F(EngineClicks, WinDNeedsTheLeftWindowsKeyAndTheOption) {
    WritableSettings().show_icons_win_d = 1;
    const int hiddenAt = HideIconsByIdling();
    Press(VK_RWIN);
    Press('D');
    TickAt(hiddenAt + 30);
    EXPECT_FALSE(IconsVisible());

    WritableSettings().show_icons_win_d = 0;
    Press(VK_LWIN);
    TickAt(hiddenAt + 60);
    EXPECT_FALSE(IconsVisible());
}

TEST_F(EngineClicks, MiddleButtonHidesAndShowsInTheSameTickWhenBothOptionsAreOn) {
    WritableSettings().hide_icons_by_m_mouse = 1;
    int start = 0;
    for (POINT clickAt : {kOnDesktop, kElsewhereOnDesktop}) {  // resting, and arriving with the click
        state.lastCursor = {0, 0};
        TickAt(start, kOnDesktop);
        desk.ForgetRecords();
        desk.AddButtonEvent(VK_MBUTTON, true, start + 1990, clickAt);  // its press and the button held:
        Press(VK_MBUTTON);                                             // one click
        TickAt(start + 2000, clickAt);
        Release(VK_MBUTTON);
        EXPECT_TRUE(IconsVisible());
        ASSERT_EQ(desk.iconChangeCount, 2);
        EXPECT_FALSE(desk.iconChanges[0]);
        EXPECT_TRUE(desk.iconChanges[1]);
        EXPECT_EQ(state.idleSince, start + 2000);
        start += 10000;
    }
}

TEST_F(EngineClicks, MiddleButtonHideUsesUpTheIdleTime) {
    WritableSettings().hide_icons_by_m_mouse = 1;
    WritableSettings().show_icons_by_m_mouse = 0;
    TickAt(0, kOnDesktop);
    Press(VK_MBUTTON);
    TickAt(2000);
    Release(VK_MBUTTON);
    EXPECT_FALSE(IconsVisible());
    EXPECT_EQ(state.idleSince, 2000 - 5000);
    desk.ForgetRecords();
    TickEvery30Ms(2030, 20000);
    EXPECT_FALSE(IconsVisible());
    EXPECT_EQ(desk.countdownWrites, 0);

    Press(VK_LBUTTON);
    TickAt(20030);
    EXPECT_TRUE(IconsVisible());
}

TEST_F(EngineClicks, MovingOntoTheEmptyDesktopShowsIconsAndTaskbarsOnlyWithItsOption) {
    WritableSettings().hide_taskbar = 1;
    const HWND secondary = AddSecondaryTaskbar();
    const int hiddenAt = HideIconsByIdling();
    desk.SetVisible(taskbar, false);
    desk.SetVisible(secondary, false);
    TickAt(hiddenAt + 30, kElsewhereOnDesktop);
    EXPECT_FALSE(IconsVisible());

    WritableSettings().show_icons_mouse_move = 1;
    TickAt(hiddenAt + 60, kOnDesktop);
    EXPECT_TRUE(IconsVisible());
    EXPECT_TRUE(desk.Visible(taskbar));
    EXPECT_TRUE(desk.Visible(secondary));
    EXPECT_EQ(state.idleSince, hiddenAt + 60);
}

// A click brings back every secondary taskbar; the primary one stays hidden until the cursor
// touches it (moving onto the desktop, with its option, brings both: above).
TEST_F(EngineClicks, AClickShowsEverySecondaryTaskbarAndThePrimaryOnlyOnceTouched) {
    WritableSettings().hide_taskbar = 1;
    const HWND secondary = AddSecondaryTaskbar();
    const int hiddenAt = HideIconsByIdling();
    desk.SetVisible(taskbar, false);
    desk.SetVisible(secondary, false);
    Press(VK_LBUTTON);
    TickAt(hiddenAt + 30);
    Release(VK_LBUTTON);
    EXPECT_TRUE(IconsVisible());
    EXPECT_TRUE(desk.Visible(secondary));
    EXPECT_FALSE(desk.Visible(taskbar));
    TickAt(hiddenAt + 2000, kElsewhereOnDesktop);
    EXPECT_FALSE(desk.Visible(taskbar));
    TickAt(hiddenAt + 2030, kOnTaskbar);
    EXPECT_TRUE(desk.Visible(taskbar));
}

// A touchpad's tap is over within a few milliseconds, long before the next tick: it counts by
// its events, where it was made, whatever the cursor did after it.
TEST_F(EngineClicks, ATapCountsWhereItWasMadeAsALongClickDoes) {
    for (ButtonOption button : kButtons) {
        SCOPED_TRACE(button.virtualKey);
        int hiddenAt = HideIconsByIdling();
        Tap(button.virtualKey, kOnDesktop, hiddenAt + 10);
        TickAt(hiddenAt + 30, kOnEditor);  // moved away at once
        EXPECT_TRUE(IconsVisible()) << "a tap on the empty desktop";
        EXPECT_EQ(state.idleSince, hiddenAt + 30);
        EXPECT_EQ(desk.countdownWrites, 0);

        hiddenAt = HideIconsByIdling();
        Tap(button.virtualKey, kOnEditor, hiddenAt + 10);
        TickAt(hiddenAt + 30, kOnDesktop);  // moved onto the desktop at once
        EXPECT_FALSE(IconsVisible()) << "a tap on another window";

        WritableSettings().*button.option = 0;
        Tap(button.virtualKey, kOnDesktop, hiddenAt + 40);
        TickAt(hiddenAt + 60);
        EXPECT_FALSE(IconsVisible()) << "a tap of a button the options leave out";
        WritableSettings().*button.option = 1;

        // Made while no tick ran (the program disabled): no click on what the desktop shows now.
        Tap(button.virtualKey, kOnDesktop, hiddenAt + 100);
        TickAt(hiddenAt + 1200);
        EXPECT_FALSE(IconsVisible()) << "a tap more than a second before the tick";
        desk.SetVisible(listView, true);
        state.lastCursor = {0, 0};
    }
}

TEST_F(EngineClicks, AMiddleTapHidesTheIconsWithItsOption) {
    WritableSettings().show_icons_by_m_mouse = 0;
    TickAt(0, kOnDesktop);
    Tap(VK_MBUTTON, kOnEditor, 1000);
    TickAt(1020);
    EXPECT_TRUE(IconsVisible()) << "hide_icons_by_m_mouse is off";

    WritableSettings().hide_icons_by_m_mouse = 1;
    Tap(VK_MBUTTON, kOnEditor, 2000);
    TickAt(2020);
    EXPECT_FALSE(IconsVisible());
    EXPECT_EQ(state.idleSince, 2020 - 5000);
}
