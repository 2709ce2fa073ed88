#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <initializer_list>
#include <string>

#include "appearance/menu_bar.h"
#include "appearance/menu_navigation.h"

namespace {

TEST(MenuNavigation, ArrowKeysWrapAroundTheBarAndLeaveSubmenusAndForeignPopupsAlone) {
    EXPECT_EQ(WrapMenuIndex(-1, 3), 2);
    EXPECT_EQ(WrapMenuIndex(3, 3), 0);
    EXPECT_EQ(WrapMenuIndex(1, 3), 1);
    EXPECT_EQ(WrapMenuIndex(-1, 1), 0);  // a single menu opens itself again
    EXPECT_EQ(WrapMenuIndex(1, 1), 0);
    EXPECT_EQ(WrapMenuIndex(5, 0), 0);

    EXPECT_EQ(MenuKeyActionFor(VK_LEFT, false, 0), MenuKeyAction::kPreviousMenu);
    EXPECT_EQ(MenuKeyActionFor(VK_LEFT, false, MF_POPUP), MenuKeyAction::kPreviousMenu);
    EXPECT_EQ(MenuKeyActionFor(VK_RIGHT, false, 0), MenuKeyAction::kNextMenu);
    EXPECT_EQ(MenuKeyActionFor(VK_RIGHT, false, MF_POPUP | MF_HILITE), MenuKeyAction::kLeaveToMenu);
    EXPECT_EQ(MenuKeyActionFor(VK_ESCAPE, false, 0), MenuKeyAction::kClose);
    EXPECT_EQ(MenuKeyActionFor(VK_DOWN, false, 0), MenuKeyAction::kLeaveToMenu);
    // The language menu has no neighbours on the bar, but Escape still closes it.
    EXPECT_EQ(MenuKeyActionFor(VK_LEFT, true, 0), MenuKeyAction::kLeaveToMenu);
    EXPECT_EQ(MenuKeyActionFor(VK_RIGHT, true, 0), MenuKeyAction::kLeaveToMenu);
    EXPECT_EQ(MenuKeyActionFor(VK_ESCAPE, true, 0), MenuKeyAction::kClose);
}

TEST(MenuNavigation, ButtonsOpenWithTheirMarkedLetterElseTheirFirstLetterInAnyCase) {
    EXPECT_EQ(ButtonAccelerator(L"Program"), L'P');
    EXPECT_EQ(ButtonAccelerator(L"# LNG"), L'L');
    EXPECT_EQ(ButtonAccelerator(L"# Beenden"), L'B');
    EXPECT_EQ(ButtonAccelerator(L"# \x0412\x044B\x0445\x043E\x0434"), L'\x0412');
    EXPECT_EQ(ButtonAccelerator(L"# ?"), 0);
    EXPECT_EQ(ButtonAccelerator(L"Sa&ve"), L'v');
    EXPECT_EQ(ButtonAccelerator(L"R&&D"), L'R');
    EXPECT_EQ(ButtonAccelerator(L""), 0);
    EXPECT_EQ(ButtonAccelerator(nullptr), 0);
    EXPECT_TRUE(SameAccelerator(L'p', L'P'));
    EXPECT_TRUE(SameAccelerator(L'\x0432', L'\x0412'));
    EXPECT_FALSE(SameAccelerator(L'p', L'E'));
    EXPECT_FALSE(SameAccelerator(0, 0));
}

HMENU MenuWithPopups(std::initializer_list<const wchar_t*> titles) {
    HMENU bar = CreateMenu();
    UINT command = 100;
    for (const wchar_t* title : titles) {
        HMENU popup = CreatePopupMenu();
        AppendMenuW(popup, MF_STRING, command++, L"Item");
        AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), title);
    }
    return bar;
}

std::wstring ButtonText(HWND toolbar, int index) {
    TBBUTTON button = {};
    SendMessageW(toolbar, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button));
    wchar_t text[100] = L"";
    SendMessageW(toolbar, TB_GETBUTTONTEXTW, button.idCommand, reinterpret_cast<LPARAM>(text));
    return std::to_wstring(button.idCommand) + L" " + text;
}

int ButtonCount(HWND toolbar) {
    return static_cast<int>(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0));
}

// Takes a message posted to `window` without dispatching it; 0 when there is none.
UINT TakePosted(HWND window, MSG& message) {
    return PeekMessageW(&message, window, 0, 0, PM_REMOVE) ? message.message : 0;
}

// A real bar on a hidden window: its popups never open (the parent is not active), but its
// buttons, its guard and its answer to Alt+letter are the real ones.
class MenuBarWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        parent_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 200, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(parent_, nullptr);
        bar_.top = 10;
        bar_.buttonHeight = 24;
        ASSERT_TRUE(bar_.Create(parent_));
    }
    void TearDown() override { DestroyWindow(parent_); }

    HWND parent_ = nullptr;
    MenuBar bar_;
};

TEST_F(MenuBarWindow, MakesAButtonOfEachMenuAndRefusesButtonsFromElsewhere) {
    HWND toolbar = bar_.Window();
    RECT place = {};
    GetWindowRect(toolbar, &place);
    MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&place), 2);
    EXPECT_EQ(place.top, 10);
    EXPECT_EQ(place.bottom - place.top, 36);
    EXPECT_EQ(place.right - place.left, 400);

    HMENU first = MenuWithPopups({L"Program", L"Tools"});
    EXPECT_EQ(bar_.AttachMenu(first), 1);
    ASSERT_EQ(ButtonCount(toolbar), 2);
    EXPECT_EQ(ButtonText(toolbar, 0), L"40000 Program");
    EXPECT_EQ(ButtonText(toolbar, 1), L"40001 Tools");

    // A new language's menu replaces the old one, which is destroyed.
    EXPECT_EQ(bar_.AttachMenu(MenuWithPopups({L"Programm"})), 1);
    EXPECT_FALSE(IsMenu(first));
    ASSERT_EQ(ButtonCount(toolbar), 1);
    EXPECT_EQ(ButtonText(toolbar, 0), L"40000 Programm");

    TBBUTTON stranger = {};
    stranger.idCommand = 7;
    stranger.fsState = TBSTATE_ENABLED;
    stranger.iString = -1;
    SendMessageW(toolbar, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&stranger));
    TBBUTTONINFOW info = {};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_TEXT;
    info.pszText = const_cast<wchar_t*>(L"Changed");
    SendMessageW(toolbar, TB_SETBUTTONINFOW, 40000, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(ButtonCount(toolbar), 1);
    EXPECT_EQ(ButtonText(toolbar, 0), L"40000 Programm");
}

TEST_F(MenuBarWindow, RightHandButtonsSitAtTheRightEndAndAnswerAltLetters) {
    bar_.AttachMenu(MenuWithPopups({L"Program", L"Tools"}));
    bar_.ClearRightButtons();  // nothing to clear yet
    bar_.AddRightButton(L"# LNG", 2022);
    bar_.AddRightButton(L"# Exit", 32790);
    bar_.AddRightButton(L"# ?", 1050);
    HWND right = bar_.RightToolbar();
    ASSERT_NE(right, nullptr);
    ASSERT_EQ(ButtonCount(right), 3);
    EXPECT_EQ(ButtonText(right, 1), L"32790 # Exit");
    RECT place = {};
    GetWindowRect(right, &place);
    MapWindowPoints(nullptr, bar_.Window(), reinterpret_cast<POINT*>(&place), 2);
    EXPECT_EQ(place.right, 400);
    EXPECT_GT(place.left, 200);

    MSG posted = {};
    EXPECT_EQ(SendMessageW(parent_, WM_MENUCHAR, MAKEWPARAM(L'e', MF_SYSMENU), 0), 0x10001);
    ASSERT_EQ(TakePosted(parent_, posted), static_cast<UINT>(WM_COMMAND));
    EXPECT_EQ(posted.wParam, 32790u);
    // A bar menu's letter opens its popup once the system's menu mode has ended.
    EXPECT_EQ(SendMessageW(parent_, WM_MENUCHAR, MAKEWPARAM(L't', MF_SYSMENU), 0), 0x10001);
    EXPECT_EQ(TakePosted(bar_.Window(), posted), kMsgOpenHotPopup);
    EXPECT_EQ(TakePosted(bar_.Window(), posted), 0u);
    EXPECT_EQ(SendMessageW(parent_, WM_MENUCHAR, MAKEWPARAM(L'q', MF_SYSMENU), 0), 0);
    EXPECT_EQ(TakePosted(parent_, posted), 0u);

    bar_.ClearRightButtons();
    EXPECT_EQ(ButtonCount(right), 0);
    EXPECT_EQ(SendMessageW(parent_, WM_MENUCHAR, MAKEWPARAM(L'e', MF_SYSMENU), 0), 0);
}

TEST(MenuBackground, EveryPopupGetsOneSharedBrushOfTheMenuColour) {
    HMENU first = MenuWithPopups({L"A", L"B"});
    HMENU second = MenuWithPopups({L"C"});
    SetMenuBackground(first);
    SetMenuBackground(second);
    auto background = [](HMENU menu) {
        MENUINFO info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIM_BACKGROUND;
        GetMenuInfo(menu, &info);
        return info.hbrBack;
    };
    HBRUSH brush = background(first);
    ASSERT_NE(brush, nullptr);
    EXPECT_EQ(background(GetSubMenu(first, 1)), brush);
    EXPECT_EQ(background(second), brush);
    LOGBRUSH colour = {};
    GetObjectW(brush, sizeof(colour), &colour);
    EXPECT_EQ(colour.lbColor, GetSysColor(COLOR_MENU));
    DestroyMenu(first);
    DestroyMenu(second);
}

}  // namespace
