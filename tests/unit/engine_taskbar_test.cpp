#include "engine_fixture.h"

class EngineTaskbar : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        WritableSettings().hide_taskbar = 1;
    }
};

TEST_F(EngineTaskbar, ATaskbarTouchedLongAgoHidesOnTheTickAfterTheIcons) {
    TickAt(0, kOnDesktop);
    TickAt(5001);
    EXPECT_FALSE(IconsVisible());
    EXPECT_TRUE(desk.Visible(taskbar));
    TickAt(5031);
    EXPECT_FALSE(desk.Visible(taskbar));
}

TEST_F(EngineTaskbar, ATaskbarTouchedLaterHidesTheIdleTimeAfterTheTouch) {
    TickAt(0, kOnDesktop);
    TickAt(3000, kOnTaskbar);
    TickAt(3030, kOnEditor);
    TickAt(5001);
    EXPECT_FALSE(IconsVisible());
    TickAt(8000);
    EXPECT_TRUE(desk.Visible(taskbar));
    TickAt(8001);
    EXPECT_FALSE(desk.Visible(taskbar));
}

TEST_F(EngineTaskbar, TheFirstTickCountsAsTheLastTouch) {
    state.idleSince = -4000;
    TickAt(0, kOnEditor);
    TickAt(1001);
    EXPECT_FALSE(IconsVisible());
    TickAt(5000);
    EXPECT_TRUE(desk.Visible(taskbar));
    TickAt(5001);
    EXPECT_FALSE(desk.Visible(taskbar));
}

TEST_F(EngineTaskbar, TheCursorBringsAHiddenTaskbarBackAndItStaysWhileTheIconsAreVisible) {
    TickAt(0, kOnDesktop);
    TickAt(5001);
    TickAt(5031);
    ASSERT_FALSE(desk.Visible(taskbar));
    TickAt(6000, kOnTaskbar);
    EXPECT_TRUE(desk.Visible(taskbar));
    EXPECT_FALSE(IconsVisible()) << "touching the taskbar is no activity on the desktop";

    Press(VK_LBUTTON);
    TickAt(6030, kOnDesktop);
    Release(VK_LBUTTON);
    ASSERT_TRUE(IconsVisible());
    WiggleBetween(kOnDesktop, kElsewhereOnDesktop, 6060, 30000);
    EXPECT_TRUE(desk.Visible(taskbar));
}

TEST_F(EngineTaskbar, WhileALabelIsEditedTheCursorStillBringsTheTaskbarBack) {
    desk.SetVisible(taskbar, false);
    TickAt(0, kOnDesktop);
    desk.labelEditor = reinterpret_cast<HWND>(0x999);
    TickAt(30, kOnTaskbar);
    EXPECT_TRUE(desk.Visible(taskbar));
}

TEST_F(EngineTaskbar, TheSecondaryTaskbarHidesWithTheIconsUnlessTheCursorIsInIt) {
    const HWND secondary = AddSecondaryTaskbar();
    TickAt(0, kOnDesktop);
    TickAt(5001);
    EXPECT_FALSE(IconsVisible());
    EXPECT_FALSE(desk.Visible(secondary));
    EXPECT_TRUE(desk.Visible(taskbar));

    desk.SetVisible(secondary, true);
    desk.SetVisible(listView, true);
    TickAt(6000, kOnSecondaryTaskbar);
    TickAt(11001);
    EXPECT_FALSE(IconsVisible());
    EXPECT_TRUE(desk.Visible(secondary));
}

// Three monitors: each secondary taskbar follows the rules on its own.
class EngineThreeTaskbars : public EngineTaskbar {
  protected:
    static constexpr POINT kOnSecond = {3000, 780};

    void SetUp() override {
        EngineTaskbar::SetUp();
        first = AddSecondaryTaskbar();
        second = desk.Add(L"Shell_SecondaryTrayWnd", L"", {2560, 760, 3840, 800});
    }
    bool AllTaskbarsVisible() { return desk.Visible(taskbar) && desk.Visible(first) && desk.Visible(second); }
    bool NoTaskbarVisible() { return !desk.Visible(taskbar) && !desk.Visible(first) && !desk.Visible(second); }

    HWND first = nullptr;
    HWND second = nullptr;
};

TEST_F(EngineThreeTaskbars, EverySecondaryTaskbarHidesWithTheIconsAndThePrimaryOneTickLater) {
    TickAt(0, kOnDesktop);
    TickAt(5001);
    EXPECT_FALSE(IconsVisible());
    EXPECT_FALSE(desk.Visible(first));
    EXPECT_FALSE(desk.Visible(second));
    EXPECT_TRUE(desk.Visible(taskbar));
    TickAt(5031);
    EXPECT_TRUE(NoTaskbarVisible());
}

TEST_F(EngineThreeTaskbars, TheSecondaryTaskbarUnderTheCursorStaysWhenTheIconsHide) {
    TickAt(0, kOnDesktop);
    TickAt(4000, kOnSecond);
    TickAt(5001);
    EXPECT_FALSE(IconsVisible());
    EXPECT_FALSE(desk.Visible(first));
    EXPECT_TRUE(desk.Visible(second));
}

TEST_F(EngineThreeTaskbars, TouchingOneHiddenTaskbarShowsThatOneOnly) {
    TickAt(0, kOnDesktop);
    TickEvery30Ms(5001, 5061);
    ASSERT_TRUE(NoTaskbarVisible());
    TickAt(6000, kOnSecond);
    EXPECT_TRUE(desk.Visible(second));
    EXPECT_FALSE(desk.Visible(first));
    EXPECT_FALSE(desk.Visible(taskbar));
    TickAt(6030, kOnSecondaryTaskbar);
    EXPECT_TRUE(desk.Visible(first));
    EXPECT_FALSE(desk.Visible(taskbar));
    // Left alone, both go again once the idle time has passed since the last touch.
    TickAt(6060, kOnDesktop);
    TickAt(11030);
    EXPECT_TRUE(desk.Visible(first));
    TickAt(11031);
    EXPECT_TRUE(NoTaskbarVisible());
}

TEST_F(EngineThreeTaskbars, AClickOnTheDesktopBringsEverySecondaryTaskbarBack) {
    TickAt(0, kOnDesktop);
    TickEvery30Ms(5001, 5061);
    ASSERT_TRUE(NoTaskbarVisible());
    Press(VK_LBUTTON);
    TickAt(6000, kElsewhereOnDesktop);
    Release(VK_LBUTTON);
    EXPECT_TRUE(IconsVisible());
    EXPECT_TRUE(desk.Visible(first));
    EXPECT_TRUE(desk.Visible(second));
    EXPECT_FALSE(desk.Visible(taskbar)) << "the primary one waits for the cursor";
}

TEST_F(EngineThreeTaskbars, MovingOntoTheDesktopBringsEveryTaskbarBack) {
    WritableSettings().show_icons_mouse_move = 1;
    TickAt(0, kOnEditor);
    TickEvery30Ms(5001, 5061);
    ASSERT_TRUE(NoTaskbarVisible());
    TickAt(6000, kOnDesktop);
    EXPECT_TRUE(IconsVisible());
    EXPECT_TRUE(AllTaskbarsVisible());
}

TEST_F(EngineTaskbar, MissingTaskbarsAreSkipped) {
    desk.Remove(taskbar);
    TickAt(0, kOnDesktop);
    TickAt(5001);
    EXPECT_FALSE(IconsVisible());
    Press(VK_LBUTTON);
    TickAt(5031);
    EXPECT_TRUE(IconsVisible());
}

TEST_F(EngineTaskbar, WithoutTheOptionTaskbarsAreLeftAlone) {
    WritableSettings().hide_taskbar = 0;
    const HWND secondary = AddSecondaryTaskbar();
    desk.SetVisible(taskbar, false);
    TickAt(0, kOnTaskbar);
    EXPECT_FALSE(desk.Visible(taskbar));
    TickEvery30Ms(30, 12000);
    EXPECT_TRUE(desk.Visible(secondary));
}
