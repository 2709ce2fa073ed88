#include <gtest/gtest.h>

#include "dialog/mouse_options.h"
#include "settings/settings.h"

namespace {

// Left, middle and right show options; the context menu option off unless a test says so.
Settings Buttons(int left, int middle, int right) {
    Settings record;
    record.show_icons_by_l_mouse = left;
    record.show_icons_by_m_mouse = middle;
    record.show_icons_by_r_mouse = right;
    record.show_icons_by_contextmenu = 0;
    return record;
}

void ExpectButtons(const Settings& record, int left, int middle, int right) {
    EXPECT_EQ(record.show_icons_by_l_mouse, left);
    EXPECT_EQ(record.show_icons_by_m_mouse, middle);
    EXPECT_EQ(record.show_icons_by_r_mouse, right);
}

}  // namespace

TEST(BalanceMouseSettings, DefaultsNeedNoChange) {
    Settings record;
    EXPECT_FALSE(BalanceMouseSettings(record, kContextMenuChanged));
    EXPECT_FALSE(BalanceMouseSettings(record, kLeftButtonChanged));
    ExpectButtons(record, 1, 1, 1);
}

TEST(BalanceMouseSettings, TheLastButtonSwitchedOffHandsOverToItsNeighbour) {
    Settings left = Buttons(0, 0, 0);
    EXPECT_TRUE(BalanceMouseSettings(left, kLeftButtonChanged));
    ExpectButtons(left, 0, 1, 0);

    Settings middle = Buttons(0, 0, 0);
    EXPECT_TRUE(BalanceMouseSettings(middle, kMiddleButtonChanged));
    ExpectButtons(middle, 0, 0, 1);

    Settings right = Buttons(0, 0, 0);
    EXPECT_TRUE(BalanceMouseSettings(right, kRightButtonChanged));
    ExpectButtons(right, 1, 0, 0);
}

TEST(BalanceMouseSettings, OneButtonLeftIsEnough) {
    Settings record = Buttons(0, 0, 1);
    EXPECT_FALSE(BalanceMouseSettings(record, kLeftButtonChanged));
    EXPECT_FALSE(BalanceMouseSettings(record, kMiddleButtonChanged));
    ExpectButtons(record, 0, 0, 1);
}

TEST(BalanceMouseSettings, WinDAndTheContextMenuDoNotRescueTheButtons) {
    Settings record = Buttons(0, 0, 0);
    EXPECT_FALSE(BalanceMouseSettings(record, kWinDChanged));
    ExpectButtons(record, 0, 0, 0);
    EXPECT_FALSE(BalanceMouseSettings(record, kContextMenuChanged));
    ExpectButtons(record, 0, 0, 0);
}

TEST(BalanceMouseSettings, ContextMenuTurnsTheRightButtonOn) {
    Settings record = Buttons(1, 1, 0);
    record.show_icons_by_contextmenu = 1;
    EXPECT_TRUE(BalanceMouseSettings(record, kContextMenuChanged));
    ExpectButtons(record, 1, 1, 1);
}

TEST(BalanceMouseSettings, ContextMenuSwitchedOffLeavesTheRightButtonAlone) {
    Settings record = Buttons(1, 1, 1);
    record.show_icons_by_contextmenu = 0;
    EXPECT_FALSE(BalanceMouseSettings(record, kContextMenuChanged));
    ExpectButtons(record, 1, 1, 1);
}

TEST(BalanceMouseSettings, ContextMenuPullsTheRightButtonOnlyWhenItIsTheCause) {
    Settings record = Buttons(1, 1, 0);
    record.show_icons_by_contextmenu = 1;
    EXPECT_FALSE(BalanceMouseSettings(record, kLeftButtonChanged));
    ExpectButtons(record, 1, 1, 0);
}

TEST(BalanceMouseSettings, HidingByTheMiddleButtonStopsItShowing) {
    Settings record = Buttons(1, 1, 1);
    record.hide_icons_by_m_mouse = 1;
    EXPECT_TRUE(BalanceMouseSettings(record, kMiddleButtonChanged));
    ExpectButtons(record, 1, 0, 1);
}

TEST(BalanceMouseSettings, MiddleButtonHidingThatTakesTheLastShowerHandsOverToTheRight) {
    Settings record = Buttons(0, 1, 0);
    record.hide_icons_by_m_mouse = 1;
    EXPECT_TRUE(BalanceMouseSettings(record, kMiddleButtonChanged));
    ExpectButtons(record, 0, 0, 1);
}

TEST(BalanceMouseSettings, LeftButtonCauseCanLeaveTheMiddleButtonBothShowingAndHiding) {
    // The middle button is taken off for hiding, then put back as the left button's neighbour.
    Settings record = Buttons(0, 1, 0);
    record.hide_icons_by_m_mouse = 1;
    EXPECT_TRUE(BalanceMouseSettings(record, kLeftButtonChanged));
    ExpectButtons(record, 0, 1, 0);
    EXPECT_EQ(record.hide_icons_by_m_mouse, 1);
}

TEST(BalanceMouseSettings, OnlyExactFlagsCount) {
    // Hand-edited values other than 0 and 1 are taken as they stand.
    Settings record = Buttons(2, 0, 0);
    record.hide_icons_by_m_mouse = 2;
    EXPECT_FALSE(BalanceMouseSettings(record, kRightButtonChanged));
    ExpectButtons(record, 2, 0, 0);
}
