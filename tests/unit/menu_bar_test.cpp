#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <initializer_list>
#include <string>

#include "appearance/menu_background.h"
#include "appearance/menu_bar.h"
#include "appearance/menu_navigation.h"

namespace {

TEST(MenuNavigation, ArrowKeysWrapAroundTheBarAndLeaveSubmenusAndForeignPopupsAlone) {
    EXPECT_EQ(WrapMenuIndex(-1, 3), 2);
    EXPECT_EQ(WrapMenuIndex(3, 3), 0);
    EXPECT_EQ(WrapMenuIndex(1, 3), 1);
    EXPECT_EQ(WrapMenuIndex(-1, 1), 0);  // a single menu opens itself again
    EXPECT_EQ(WrapMenuIndex(5, 0), 0);
    EXPECT_EQ(MenuKeyActionFor(VK_LEFT, false, MF_POPUP), MenuKeyAction::kPreviousMenu);
    EXPECT_EQ(MenuKeyActionFor(VK_RIGHT, false, 0), MenuKeyAction::kNextMenu);
    EXPECT_EQ(MenuKeyActionFor(VK_RIGHT, false, MF_POPUP | MF_HILITE), MenuKeyAction::kLeaveToMenu);
    EXPECT_EQ(MenuKeyActionFor(VK_DOWN, false, 0), MenuKeyAction::kLeaveToMenu);
    // The language menu has no neighbours on the bar, but Escape closes it all the same.
    EXPECT_EQ(MenuKeyActionFor(VK_LEFT, true, 0), MenuKeyAction::kLeaveToMenu);
    EXPECT_EQ(MenuKeyActionFor(VK_RIGHT, true, 0), MenuKeyAction::kLeaveToMenu);
    EXPECT_EQ(MenuKeyActionFor(VK_ESCAPE, true, 0), MenuKeyAction::kClose);
}

TEST(MenuNavigation, ButtonsOpenWithTheirMarkedLetterElseTheirFirstLetterInAnyCase) {
    EXPECT_EQ(ButtonAccelerator(L"# Beenden"), L'B');
    EXPECT_EQ(ButtonAccelerator(L"# \x0412\x044B\x0445\x043E\x0434"), L'\x0412');
    EXPECT_EQ(ButtonAccelerator(L"# ?"), 0);
    EXPECT_EQ(ButtonAccelerator(L"Sa&ve"), L'v');
    EXPECT_EQ(ButtonAccelerator(L"R&&D"), L'R');
    EXPECT_EQ(ButtonAccelerator(nullptr), 0);
    EXPECT_TRUE(SameAccelerator(L'\x0432', L'\x0412'));
    EXPECT_FALSE(SameAccelerator(L'p', L'E'));
    EXPECT_FALSE(SameAccelerator(0, 0));
}

HMENU MenuWithPopups(std::initializer_list<const wchar_t*> titles) {
    HMENU bar = CreateMenu();
    for (const wchar_t* title : titles) {
        HMENU popup = CreatePopupMenu();
        AppendMenuW(popup, MF_STRING, 100, L"Item");
        AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), title);
    }
    return bar;
}

std::wstring Buttons(HWND toolbar) {
    std::wstring buttons;
    for (int index = 0; index < SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0); ++index) {
        TBBUTTON button = {};
        SendMessageW(toolbar, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button));
        wchar_t text[100] = L"";
        SendMessageW(toolbar, TB_GETBUTTONTEXTW, button.idCommand, reinterpret_cast<LPARAM>(text));
        buttons += std::to_wstring(button.idCommand) + L" " + text + L";";
    }
    return buttons;
}

// A real bar on a hidden window, whose popups therefore never open.
TEST(MenuBarWindow, ANewMenuReplacesTheOldOneAndNoOneElseChangesTheButtons) {
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 200, nullptr, nullptr, nullptr, nullptr);
    MenuBar bar;
    bar.buttonHeight = 24;
    ASSERT_TRUE(bar.Create(parent));
    HWND toolbar = bar.Window();
    RECT place = {};
    GetClientRect(toolbar, &place);
    EXPECT_EQ(place.bottom, 36);

    HMENU first = MenuWithPopups({L"Program", L"Tools"});
    EXPECT_EQ(bar.AttachMenu(first), 1);
    EXPECT_EQ(Buttons(toolbar), L"40000 Program;40001 Tools;");
    EXPECT_EQ(bar.AttachMenu(MenuWithPopups({L"Programm"})), 1);
    EXPECT_FALSE(IsMenu(first));
    EXPECT_EQ(Buttons(toolbar), L"40000 Programm;");

    TBBUTTON stranger = {};
    stranger.idCommand = 7;
    stranger.iString = -1;
    SendMessageW(toolbar, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&stranger));
    TBBUTTONINFOW info = {};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_TEXT;
    info.pszText = const_cast<wchar_t*>(L"Changed");
    SendMessageW(toolbar, TB_SETBUTTONINFOW, 40000, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(Buttons(toolbar), L"40000 Programm;");

    // A letter that opens nothing is left to the dialog, and so is one typed in its popups.
    EXPECT_EQ(SendMessageW(parent, WM_MENUCHAR, MAKEWPARAM(L'q', MF_SYSMENU), 0), 0);
    EXPECT_EQ(SendMessageW(parent, WM_MENUCHAR, MAKEWPARAM(L'p', MF_POPUP), 0), 0);
    EXPECT_EQ(SendMessageW(parent, WM_MENUCHAR, MAKEWPARAM(L'p', MF_SYSMENU), 0), 0x10001);
    DestroyWindow(parent);
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
