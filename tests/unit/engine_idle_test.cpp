#include <climits>

#include "engine_fixture.h"

using EngineIdle = EngineTest;

TEST_F(EngineIdle, IconsHideOnTheFirstTickAfterTheIdleTimeNotAtIt) {
    TickAt(0, kOnDesktop);
    TickAt(4999);
    TickAt(5000);
    EXPECT_TRUE(IconsVisible());
    TickAt(5001);
    EXPECT_FALSE(IconsVisible());
    ASSERT_EQ(desk.iconChangeCount, 1);
    EXPECT_FALSE(desk.iconChanges[0]);
}

TEST_F(EngineIdle, ZeroSecondsHidesAsSoonAsAMillisecondHasPassed) {
    WritableSettings().auto_hide_icons_sec = 0;
    TickAt(0, kOnDesktop);
    EXPECT_TRUE(IconsVisible());
    EXPECT_EQ(desk.countdown, 0);
    TickAt(1);
    EXPECT_FALSE(IconsVisible());
}

// Someone who types a huge number means "never"; a negative or unreadable one means 0.
TEST_F(EngineIdle, IdleTimesBeyondTheClockSaturateAndNegativeOnesCountAsZero) {
    EXPECT_EQ(IdleLimitMs(0), 0);
    EXPECT_EQ(IdleLimitMs(1), 1000);
    EXPECT_EQ(IdleLimitMs(2147483), 2147483000);
    EXPECT_EQ(IdleLimitMs(2147484), INT_MAX);
    EXPECT_EQ(IdleLimitMs(INT_MAX), INT_MAX);
    EXPECT_EQ(IdleLimitMs(-5), 0);
    EXPECT_EQ(IdleLimitMs(ParseIntSetting(L"abc")), 0);

    WritableSettings().auto_hide_icons_sec = 2147484;
    TickAt(0, kOnDesktop);
    TickAt(10 * 24 * 3600 * 1000);  // ten days later
    EXPECT_TRUE(IconsVisible());
    EXPECT_GT(desk.countdown, 1000000) << "the countdown runs from about 24.8 days";

    WritableSettings().auto_hide_icons_sec = -5;
    TickAt(10 * 24 * 3600 * 1000 + 30);
    EXPECT_FALSE(IconsVisible());
}

TEST_F(EngineIdle, CountdownShowsTheRemainingWholeSecondsAndStopsOnceHidden) {
    TickAt(0, kOnDesktop);
    EXPECT_EQ(desk.countdown, 5);
    TickAt(1);  // 4.999 s left
    EXPECT_EQ(desk.countdown, 4);
    TickAt(4001);  // 0.999 s left
    EXPECT_EQ(desk.countdown, 0);
    const int writes = desk.countdownWrites;
    TickAt(5001);
    TickAt(9000);
    EXPECT_EQ(desk.countdownWrites, writes);
}

TEST_F(EngineIdle, CountdownIsWrittenWhenItsSecondsChangeAndOnceTheBarCanBeSeen) {
    TickAt(0, kOnDesktop);
    TickAt(30);
    TickAt(60);
    EXPECT_EQ(desk.countdownWrites, 2) << "5, then 4 once";
    desk.countdownVisible = false;  // the dialog is in the tray
    TickAt(1030);
    TickAt(2030);
    EXPECT_EQ(desk.countdownWrites, 2);
    desk.countdownVisible = true;
    TickAt(2060);
    EXPECT_EQ(desk.countdownWrites, 3);
    EXPECT_EQ(desk.countdown, 2);
    desk.countdown = 0;  // set by someone else: the next tick puts it right
    TickAt(2090);
    EXPECT_EQ(desk.countdown, 2);
}

TEST_F(EngineIdle, MovingOverTheIconsKeepsThemAndMovingOverAnotherWindowDoesNot) {
    WiggleBetween(kOnDesktop, kElsewhereOnDesktop, 0, 30000);
    EXPECT_TRUE(IconsVisible());
    EXPECT_EQ(desk.iconChangeCount, 0);

    WiggleBetween(kOnEditor, kElsewhereOnEditor, 30030, 34980);
    EXPECT_TRUE(IconsVisible());
    TickAt(35010, kOnEditor);
    EXPECT_FALSE(IconsVisible());
}

TEST_F(EngineIdle, ACursorRestingOnTheIconsLetsThemHide) {
    TickAt(0, kOnDesktop);
    TickEvery30Ms(30, 4980);
    EXPECT_TRUE(IconsVisible());
    TickAt(5010);
    EXPECT_FALSE(IconsVisible());
}

TEST_F(EngineIdle, EditingALabelKeepsTheIconsUntilTheEditorCloses) {
    TickAt(0, kOnEditor);
    desk.labelEditor = reinterpret_cast<HWND>(0x999);
    TickEvery30Ms(30, 20010);
    EXPECT_TRUE(IconsVisible());

    desk.labelEditor = nullptr;
    TickAt(25010);
    EXPECT_TRUE(IconsVisible());
    TickAt(25011);
    EXPECT_FALSE(IconsVisible());
}

TEST_F(EngineIdle, IdleTimeRunsOnAcrossTheWrapOfTheClock) {
    state.idleSince = INT_MAX - 1000;
    state.lastCursor = desk.cursor = kOnEditor;
    TickAt(INT_MIN + 3999);  // 5000 ms after the last activity
    EXPECT_TRUE(IconsVisible());
    EXPECT_EQ(desk.countdown, 0);
    TickAt(INT_MIN + 4000);
    EXPECT_FALSE(IconsVisible());
}

// The icons may stay hidden for weeks while the user works elsewhere, longer than the signed
// clock's 24.8 days: whatever shows them then without being activity (the tray's "Show
// everything", the shell's own command) leaves them to the idle rule as after any idle time, and
// the taskbar with them. The countdown never reads a time beyond the clock's range.
TEST_F(EngineIdle, ThirtyDaysHiddenThenShownWithoutActivityHideAgainAtOnce) {
    WritableSettings().hide_taskbar = 1;
    const int hiddenAt = HideIconsByIdling();
    constexpr unsigned kMinute = 60 * 1000;
    constexpr unsigned kThirtyDays = 30u * 24 * 60 * kMinute;
    constexpr unsigned kSignedRange = 0x80000000u;
    unsigned ms = static_cast<unsigned>(hiddenAt);
    for (bool onEditor = true; ms < kThirtyDays; ms += kMinute, onEditor = !onEditor) {
        TickAt(static_cast<int>(ms), onEditor ? kOnEditor : kElsewhereOnEditor);
        if (ms < kSignedRange && ms + kMinute > kSignedRange) {
            TickAt(static_cast<int>(kSignedRange + 1000));  // a second after the last activity wraps
        }
        ASSERT_FALSE(IconsVisible()) << ms;
        ASSERT_GE(desk.countdown, 0) << ms;
    }
    desk.SetVisible(listView, true);  // "Show everything"
    desk.SetVisible(taskbar, true);
    TickAt(static_cast<int>(ms + 30));
    EXPECT_FALSE(IconsVisible());
    TickAt(static_cast<int>(ms + 60));  // the primary taskbar follows the icons by its own rule
    EXPECT_FALSE(desk.Visible(taskbar));
    EXPECT_GE(desk.countdown, 0);
}

TEST_F(EngineIdle, WithoutTheShellsListViewTheCountdownAndTaskbarRulesStillRun) {
    WritableSettings().hide_taskbar = 1;
    desk.Remove(progman);
    TickAt(0, kOnDesktop);
    EXPECT_EQ(desk.countdown, 5);
    TickAt(4000, kOnTaskbar);
    TickAt(4030, kOnDesktop);
    EXPECT_EQ(desk.countdown, 0);
    EXPECT_TRUE(desk.Visible(taskbar));
    TickAt(9000);
    EXPECT_TRUE(desk.Visible(taskbar));
    TickAt(9001);
    EXPECT_FALSE(desk.Visible(taskbar)) << "no list view counts as hidden icons";

    // With no desktop view either, nothing under the cursor is the empty desktop.
    Press(VK_LBUTTON);
    TickAt(9030, kElsewhereOnDesktop);
    EXPECT_NE(state.idleSince, 9030) << "a click on no desktop is no activity";
}

// The tick keeps the shell's windows it found: a restarted shell's new ones are used from the
// tick the old list view has gone.
TEST_F(EngineIdle, ARestartedShellsNewWindowsAreUsedFromTheNextTick) {
    TickAt(0, kOnDesktop);
    desk.Remove(progman);
    const HWND newTop = desk.Add(L"Progman", L"Program Manager", {0, 0, 1280, 800}, nullptr, 100);
    const HWND newList = desk.Add(L"SysListView32", L"FolderView", {0, 0, 1280, 800},
                                  desk.Add(L"SHELLDLL_DefView", L"", {0, 0, 1280, 800}, newTop));
    TickAt(30);
    TickAt(5001);
    EXPECT_FALSE(desk.Visible(newList));
}

// The shell may give "Program Manager" a desktop of its own while the worker's it used lives on:
// the tick finds it within a second.
TEST_F(EngineIdle, ADesktopThatMovesWhileTheOldOneLivesIsFoundWithinASecond) {
    desk.Remove(progman);
    const HWND worker = desk.Add(L"WorkerW", L"", {0, 0, 1280, 800}, nullptr, 101);
    const HWND workerList = desk.Add(L"SysListView32", L"FolderView", {0, 0, 1280, 800},
                                     desk.Add(L"SHELLDLL_DefView", L"", {0, 0, 1280, 800}, worker));
    TickAt(0, kOnDesktop);
    const HWND newTop = desk.Add(L"Progman", L"Program Manager", {0, 0, 1280, 800}, nullptr, 99);
    const HWND newList = desk.Add(L"SysListView32", L"FolderView", {0, 0, 1280, 800},
                                  desk.Add(L"SHELLDLL_DefView", L"", {0, 0, 1280, 800}, newTop));
    TickEvery30Ms(30, 1020);
    TickAt(5001);
    EXPECT_FALSE(desk.Visible(newList));
    EXPECT_TRUE(desk.Visible(workerList));
}

// The desktop view is still the empty desktop: moving onto it and clicking on it are activity,
// though there are no icons to show.
TEST_F(EngineIdle, ADesktopViewWithoutListViewUnderAWorkerStillCountsAsTheDesktop) {
    WritableSettings().show_icons_mouse_move = 1;
    desk.Remove(progman);
    const HWND worker = desk.Add(L"WorkerW", L"", {0, 0, 1280, 800}, nullptr, 101);
    desk.Add(L"SHELLDLL_DefView", L"", {0, 0, 1280, 800}, worker);
    WiggleBetween(kOnDesktop, kElsewhereOnDesktop, 0, 6000);
    EXPECT_EQ(state.idleSince, 6000);

    Press(VK_LBUTTON);
    TickAt(9000);
    EXPECT_EQ(state.idleSince, 9000);
}
