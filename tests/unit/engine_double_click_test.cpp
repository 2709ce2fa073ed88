#include "engine_fixture.h"

// hide_icons_by_dblclick: two left clicks on the visible icons within the system's double-click
// time and rectangle, with no icon under either (the shell's selection empty), hide them.
class EngineDoubleClick : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        WritableSettings().hide_icons_by_dblclick = 1;
        TickAt(0, kOnDesktop);  // the icons visible, the cursor over them
    }

    // Two taps, `gapMs` apart, the first at `ms`, each followed by a tick 20 ms later.
    void DoubleClick(int ms, POINT first, POINT second, int gapMs = 150) {
        Tap(VK_LBUTTON, first, ms);
        TickAt(ms + 20, first);
        Tap(VK_LBUTTON, second, ms + gapMs);
        TickAt(ms + gapMs + 20, second);
    }
};

TEST_F(EngineDoubleClick, HidesTheIconsAtOnceAndUsesUpTheIdleTime) {
    Tap(VK_LBUTTON, kOnDesktop, 1000);
    TickAt(1020);
    EXPECT_TRUE(IconsVisible()) << "a single click";
    EXPECT_EQ(desk.selectionQuestions, 0) << "the shell is asked at a second click only";

    DoubleClick(2000, kOnDesktop, kOnDesktop);
    EXPECT_FALSE(IconsVisible());
    EXPECT_EQ(state.idleSince, 2170 - 5000);
    EXPECT_EQ(desk.selectionQuestions, 1);
    TickEvery30Ms(2200, 9000);
    EXPECT_FALSE(IconsVisible());
    Tap(VK_LBUTTON, kOnDesktop, 9010);
    TickAt(9030);
    EXPECT_TRUE(IconsVisible()) << "with the icons hidden a click shows them as before";
}

// The second click, held on: its button down is no click that shows them again until let go.
TEST_F(EngineDoubleClick, TheHeldSecondClickShowsNothingUntilReleased) {
    Tap(VK_LBUTTON, kOnDesktop, 1000);
    TickAt(1020);
    desk.AddButtonEvent(VK_LBUTTON, true, 1150, kOnDesktop);
    Press(VK_LBUTTON);
    TickAt(1170);
    EXPECT_FALSE(IconsVisible());
    TickAt(1200);
    EXPECT_FALSE(IconsVisible());
    desk.AddButtonEvent(VK_LBUTTON, false, 1250, kOnDesktop);
    TickAt(1260);  // the state read still lags behind the release
    Release(VK_LBUTTON);
    TickAt(1290);
    Press(VK_LBUTTON);  // a new hold, whose press the events have yet to bring
    TickAt(1320);
    EXPECT_TRUE(IconsVisible());
}

TEST_F(EngineDoubleClick, OnlyWithinTheSystemsTimeAndRectangleWithNoIconUnderEither) {
    desk.doubleClickTime = 300;
    desk.doubleClickSize = {8, 6};  // 4 and 3 pixels either side of the first click
    const POINT p = kOnDesktop;
    struct Case {
        const char* what;
        POINT second;
        int gapMs;
        int selectedIcons;
        bool hides;
    };
    const Case cases[] = {
        {"at the time limit", p, 300, 0, true},
        {"past the time limit", p, 301, 0, false},
        {"at the rectangle's corner", {p.x + 4, p.y - 3}, 150, 0, true},
        {"left of the rectangle", {p.x - 5, p.y}, 150, 0, false},
        {"below the rectangle", {p.x, p.y + 4}, 150, 0, false},
        {"on an icon", p, 150, 1, false},
        {"the shell not answering", p, 150, -1, false},
    };
    int ms = 1000;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        desk.selectedIcons = c.selectedIcons;
        DoubleClick(ms, p, c.second, c.gapMs);
        EXPECT_EQ(!IconsVisible(), c.hides);
        desk.SetVisible(listView, true);
        state.idleSince = ms += 1000;
    }
}

TEST_F(EngineDoubleClick, NothingHidesWhenItStartsWithTheIconsHiddenOrElsewhereOrWithoutItsOptions) {
    const int hiddenAt = HideIconsByIdling();
    DoubleClick(hiddenAt + 1000, kOnDesktop, kOnDesktop);
    EXPECT_TRUE(IconsVisible()) << "the first click showed them";

    DoubleClick(hiddenAt + 2000, kOnEditor, kOnEditor);
    EXPECT_TRUE(IconsVisible()) << "on another window";

    WritableSettings().disable_permanently = 1;
    DoubleClick(hiddenAt + 3000, kOnDesktop, kOnDesktop);
    EXPECT_TRUE(IconsVisible()) << "\"Hide desktop icons permanently\"";

    WritableSettings().disable_permanently = 0;
    WritableSettings().hide_icons_by_dblclick = 0;
    DoubleClick(hiddenAt + 4000, kOnDesktop, kOnDesktop);
    EXPECT_TRUE(IconsVisible()) << "the option off";
    EXPECT_EQ(desk.selectionQuestions, 0);
}
