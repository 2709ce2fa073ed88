#include <gtest/gtest.h>

#include "dialog/colour_choice.h"
#include "dialog/more_options_menu.h"
#include "resource_ids.h"
#include "settings/settings.h"

TEST(MoreOptionsMenu, DefaultSettingsCheckNoItem) {
    Settings record;
    for (UINT item : {IDC_HIDE_BY_MIDDLE, IDC_SHOW_BY_WIN_D, IDC_SHOW_BY_MOUSE_MOVE, IDC_HIDE_AT_START,
                      IDM_HIDE_TASKBAR_RULE, IDM_DESKTOP_COLOUR}) {
        EXPECT_FALSE(MoreOptionsItemChecked(record, item)) << item;
    }
}

TEST(MoreOptionsMenu, EachItemFollowsItsOwnOption) {
    struct Case {
        UINT item;
        int Settings::*field;
    };
    const Case cases[] = {
        {IDC_HIDE_BY_MIDDLE, &Settings::hide_icons_by_m_mouse},
        {IDC_SHOW_BY_WIN_D, &Settings::show_icons_win_d},
        {IDC_SHOW_BY_MOUSE_MOVE, &Settings::show_icons_mouse_move},
        {IDC_HIDE_AT_START, &Settings::hide_at_programstart},
        {IDM_HIDE_TASKBAR_RULE, &Settings::task_bar_ico_rule},
    };
    for (const Case& c : cases) {
        Settings record;
        record.*c.field = 1;
        for (const Case& other : cases) {
            EXPECT_EQ(MoreOptionsItemChecked(record, other.item), other.item == c.item) << c.item << " " << other.item;
        }
    }
}

TEST(MoreOptionsMenu, ColourItemIsCheckedForAnyColourEvenBlackAndWhite) {
    Settings record;
    record.m_wallpaper_color = 0;
    EXPECT_TRUE(MoreOptionsItemChecked(record, IDM_DESKTOP_COLOUR));
    record.m_wallpaper_color = 0xFFFFFF;
    EXPECT_TRUE(MoreOptionsItemChecked(record, IDM_DESKTOP_COLOUR));
    record.m_wallpaper_color = -1;
    EXPECT_FALSE(MoreOptionsItemChecked(record, IDM_DESKTOP_COLOUR));
}

TEST(ColourMenuText, NoColourShowsTheTextAlone) {
    EXPECT_EQ(FormatColourMenuText(L"Change the desktop background to a color", -1),
              L"Change the desktop background to a color");
}

TEST(ColourMenuText, ColourReadsRedGreenBlue) {
    EXPECT_EQ(FormatColourMenuText(L"Colour", 255), L"Colour (0xFF0000)");
    EXPECT_EQ(FormatColourMenuText(L"Colour", 0xFF0000), L"Colour (0x0000FF)");
    EXPECT_EQ(FormatColourMenuText(L"Colour", 0x00804020), L"Colour (0x204080)");
    EXPECT_EQ(FormatColourMenuText(L"Colour", 0), L"Colour (0x000000)");
    EXPECT_EQ(FormatColourMenuText(L"Colour", 0xFFFFFF), L"Colour (0xFFFFFF)");
}

TEST(ColourMenuText, BitsAboveTheBlueByteAreNotShown) {
    EXPECT_EQ(FormatColourMenuText(L"Colour", 0x7F0000FF), L"Colour (0xFF0000)");
}
