#include <cwchar>

#include "engine_fixture.h"

namespace {

// Popup menus float above every other window. Each opens just below and right of the point
// it was opened from, so its top-left corner touches what lies there.
class EngineMenu : public EngineTest {
  protected:
    HWND OpenMenu(int left, int top) {
        return desk.Add(L"#32768", L"", {left, top, left + 100, top + 100}, nullptr, --menuZ_);
    }

  private:
    int menuZ_ = 0;
};

constexpr POINT kInDesktopMenu = {650, 350};
constexpr POINT kInSubmenu = {750, 370};
constexpr POINT kInSubSubmenu = {850, 390};

}  // namespace

TEST_F(EngineMenu, AnOpenDesktopMenuShowsTheIconsAndWritesTheTraceLine) {
    const int hiddenAt = HideIconsByIdling();
    const HWND menu = OpenMenu(600, 300);
    TickAt(hiddenAt + 30, kInDesktopMenu);
    EXPECT_TRUE(IconsVisible());
    EXPECT_EQ(state.idleSince, hiddenAt + 30);

    const auto number = [](HWND h) { return static_cast<int>(reinterpret_cast<INT_PTR>(h)); };
    wchar_t expected[256];
    swprintf(expected, 256, L"h %d listview_hwnd:%d P:%d #32768 desk:%d\n", number(menu), number(listView),
             number(defView), number(defView));
    EXPECT_STREQ(desk.trace, expected);
    EXPECT_EQ(desk.traceCount, 1);
}

TEST_F(EngineMenu, AnOpenDesktopMenuKeepsTheIconsWhileTheCursorRestsInIt) {
    OpenMenu(600, 300);
    TickAt(0, kInDesktopMenu);
    TickEvery30Ms(30, 20010);
    EXPECT_TRUE(IconsVisible());
}

TEST_F(EngineMenu, ASubmenuOfTheDesktopMenuCountsButNotOneLevelDeeper) {
    const int hiddenAt = HideIconsByIdling();
    OpenMenu(600, 300);
    OpenMenu(700, 320);
    const HWND subSubmenu = OpenMenu(800, 340);
    TickAt(hiddenAt + 30, kInSubSubmenu);
    EXPECT_FALSE(IconsVisible());
    EXPECT_EQ(desk.traceCount, 0);

    desk.Remove(subSubmenu);
    TickAt(hiddenAt + 60, kInSubmenu);
    EXPECT_TRUE(IconsVisible());
}

TEST_F(EngineMenu, AMenuOfAnotherWindowDoesNotCount) {
    const int hiddenAt = HideIconsByIdling();
    OpenMenu(250, 250);
    TickAt(hiddenAt + 30, {300, 300});
    EXPECT_FALSE(IconsVisible());
}

TEST_F(EngineMenu, MenusAreIgnoredWithoutTheOption) {
    WritableSettings().show_icons_by_contextmenu = 0;
    const int hiddenAt = HideIconsByIdling();
    OpenMenu(600, 300);
    TickAt(hiddenAt + 30, kInDesktopMenu);
    EXPECT_FALSE(IconsVisible());
    EXPECT_EQ(desk.traceCount, 0);
}
