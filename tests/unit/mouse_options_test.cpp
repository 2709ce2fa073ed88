#include <gtest/gtest.h>

#include <tuple>

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

std::tuple<int, int, int> ButtonsOf(const Settings& record) {
    return {record.show_icons_by_l_mouse, record.show_icons_by_m_mouse, record.show_icons_by_r_mouse};
}

}  // namespace

TEST(BalanceMouseSettings, DefaultsNeedNoChange) {
    Settings record;
    EXPECT_FALSE(BalanceMouseSettings(record, kContextMenuChanged));
    EXPECT_FALSE(BalanceMouseSettings(record, kLeftButtonChanged));
    EXPECT_EQ(ButtonsOf(record), std::make_tuple(1, 1, 1));
}

TEST(BalanceMouseSettings, TheLastButtonSwitchedOffHandsOverToItsNeighbour) {
    struct Case {
        int cause;
        std::tuple<int, int, int> after;
    };
    for (const Case& c : {Case{kLeftButtonChanged, {0, 1, 0}}, Case{kMiddleButtonChanged, {0, 0, 1}},
                          Case{kRightButtonChanged, {1, 0, 0}}, Case{kWinDChanged, {0, 0, 0}},
                          Case{kContextMenuChanged, {0, 0, 0}}}) {
        Settings record = Buttons(0, 0, 0);
        EXPECT_EQ(BalanceMouseSettings(record, c.cause), c.after != std::make_tuple(0, 0, 0)) << c.cause;
        EXPECT_EQ(ButtonsOf(record), c.after) << c.cause;
    }
    Settings oneLeft = Buttons(0, 0, 1);
    EXPECT_FALSE(BalanceMouseSettings(oneLeft, kLeftButtonChanged));
}

TEST(BalanceMouseSettings, ContextMenuBringsTheRightButtonOnlyWhenItIsWhatChanged) {
    Settings record = Buttons(1, 1, 0);
    record.show_icons_by_contextmenu = 1;
    EXPECT_FALSE(BalanceMouseSettings(record, kLeftButtonChanged));
    EXPECT_EQ(record.show_icons_by_r_mouse, 0);
    EXPECT_TRUE(BalanceMouseSettings(record, kContextMenuChanged));
    EXPECT_EQ(record.show_icons_by_r_mouse, 1);
    // Switched off, it leaves the right button on.
    record.show_icons_by_contextmenu = 0;
    EXPECT_FALSE(BalanceMouseSettings(record, kContextMenuChanged));
    EXPECT_EQ(record.show_icons_by_r_mouse, 1);
}

TEST(BalanceMouseSettings, HidingByTheMiddleButtonStopsItShowing) {
    Settings record = Buttons(1, 1, 1);
    record.hide_icons_by_m_mouse = 1;
    EXPECT_TRUE(BalanceMouseSettings(record, kMiddleButtonChanged));
    EXPECT_EQ(ButtonsOf(record), std::make_tuple(1, 0, 1));
    // When the middle button was the last to show them, the right one takes over.
    Settings last = Buttons(0, 1, 0);
    last.hide_icons_by_m_mouse = 1;
    EXPECT_TRUE(BalanceMouseSettings(last, kMiddleButtonChanged));
    EXPECT_EQ(ButtonsOf(last), std::make_tuple(0, 0, 1));
}

TEST(BalanceMouseSettings, LeftButtonCauseCanLeaveTheMiddleButtonBothShowingAndHiding) {
    // Taken off for hiding, the middle button is put back as the left button's neighbour.
    Settings record = Buttons(0, 1, 0);
    record.hide_icons_by_m_mouse = 1;
    EXPECT_TRUE(BalanceMouseSettings(record, kLeftButtonChanged));
    EXPECT_EQ(ButtonsOf(record), std::make_tuple(0, 1, 0));
    EXPECT_EQ(record.hide_icons_by_m_mouse, 1);
}
