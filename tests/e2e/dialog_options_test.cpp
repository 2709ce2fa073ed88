#include <gtest/gtest.h>

#include "e2e/support/dialog_app.h"
#include "resource_ids.h"

namespace {

using e2e::DialogApp;

struct CheckBoxOption {
    int id;
    const wchar_t* key;
};

class DialogOptions : public ::testing::TestWithParam<CheckBoxOption> {};

// Each box is saved the moment it is clicked, and the next start shows it as it was left.
TEST_P(DialogOptions, ClickIsSavedAtOnceAndSurvivesARestart) {
    const CheckBoxOption& option = GetParam();
    DialogApp app;
    ASSERT_NE(app.Start(), nullptr);
    bool before = app.Dialog().Checked(option.id);
    ASSERT_TRUE(app.Dialog().Toggle(option.id));
    const wchar_t* saved = before ? L"0" : L"1";
    EXPECT_TRUE(e2e::WaitUntil([&] { return app.Ini(option.key) == saved; }, 3000)) << app.Ini(option.key);
    ASSERT_NE(app.Restart(option.id == IDC_START_IN_TRAY), nullptr);
    EXPECT_EQ(app.Dialog().Checked(option.id), !before);
}

INSTANTIATE_TEST_SUITE_P(DialogCheckBoxes,
                         DialogOptions,
                         ::testing::Values(CheckBoxOption{IDC_ALWAYS_ON_TOP, L"topmost"},
                                           CheckBoxOption{IDC_DISABLE, L"m_disable"},
                                           CheckBoxOption{IDC_START_IN_TRAY, L"start_tray"},
                                           CheckBoxOption{IDC_HIDE_TASKBAR, L"hide_taskbar"},
                                           CheckBoxOption{IDC_SHOW_BY_LEFT, L"show_icons_by_l_mouse"},
                                           CheckBoxOption{IDC_SHOW_BY_MIDDLE, L"show_icons_by_m_mouse"},
                                           CheckBoxOption{IDC_SHOW_BY_CONTEXT_MENU, L"show_icons_by_contextmenu"}));

TEST(DialogOptionEffects, AlwaysOnTopKeepsTheDialogAboveOtherWindows) {
    DialogApp app;
    ASSERT_NE(app.Start(), nullptr);
    HWND dialog = app.Dialog().Window();
    EXPECT_EQ(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    ASSERT_TRUE(app.Dialog().Toggle(IDC_ALWAYS_ON_TOP));
    EXPECT_TRUE(e2e::WaitUntil([&] { return (GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }, 3000));
    ASSERT_TRUE(app.Dialog().Toggle(IDC_ALWAYS_ON_TOP));
    EXPECT_TRUE(e2e::WaitUntil([&] { return (GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST) == 0; }, 3000));
}

TEST(DialogOptionEffects, SwitchingHideTaskbarOffBringsTheTaskbarBack) {
    DialogApp app({{L"hide_taskbar", L"1"}});
    ASSERT_NE(app.Start(), nullptr);
    HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    ASSERT_NE(taskbar, nullptr);
    ShowWindow(taskbar, SW_HIDE);
    ASSERT_TRUE(app.Dialog().Toggle(IDC_HIDE_TASKBAR));
    EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(taskbar) != 0; }, 3000));
    EXPECT_EQ(app.Ini(L"hide_taskbar"), L"0");
    ShowWindow(taskbar, SW_SHOW);
}

TEST(DialogOptionEffects, DisableGreysTheEngineOptionsAndEnableFreesThem) {
    DialogApp app;
    ASSERT_NE(app.Start(), nullptr);
    const auto& dialog = app.Dialog();
    ASSERT_TRUE(dialog.Toggle(IDC_DISABLE));
    for (int id : {IDC_SHOW_BY_LEFT, IDC_SHOW_BY_MIDDLE, IDC_SHOW_BY_RIGHT, IDC_SHOW_BY_CONTEXT_MENU, IDC_HIDE_TASKBAR,
                   IDC_HIDE_AT_START}) {
        EXPECT_FALSE(dialog.Enabled(id)) << id;
    }
    ASSERT_TRUE(dialog.Toggle(IDC_DISABLE));
    EXPECT_TRUE(e2e::WaitUntil([&] { return dialog.Enabled(IDC_SHOW_BY_LEFT); }, 3000));
    EXPECT_TRUE(e2e::WaitUntil([&] { return dialog.Enabled(IDC_SHOW_BY_MIDDLE); }, 3000));
    EXPECT_TRUE(e2e::WaitUntil([&] { return dialog.Enabled(IDC_HIDE_TASKBAR); }, 3000));
    // The context menu option still holds the right button.
    EXPECT_TRUE(e2e::WaitUntil([&] { return !dialog.Enabled(IDC_SHOW_BY_RIGHT); }, 3000));
    EXPECT_EQ(app.Ini(L"m_disable"), L"0");
}

TEST(DialogOptionEffects, HidePermanentlyTicksAndLocksDisable) {
    DialogApp app;
    ASSERT_NE(app.Start(), nullptr);
    const auto& dialog = app.Dialog();
    ASSERT_TRUE(dialog.Toggle(IDC_DISABLE_PERMANENTLY));
    EXPECT_TRUE(e2e::WaitUntil([&] { return dialog.Checked(IDC_DISABLE); }, 3000));
    EXPECT_TRUE(e2e::WaitUntil([&] { return !dialog.Enabled(IDC_DISABLE); }, 3000));
    EXPECT_TRUE(e2e::WaitUntil([&] { return !dialog.Enabled(IDC_SHOW_BY_LEFT); }, 3000));
    EXPECT_EQ(app.Ini(L"disable_permanently"), L"1");
    EXPECT_EQ(app.Ini(L"m_disable"), L"1");

    ASSERT_TRUE(dialog.Toggle(IDC_DISABLE_PERMANENTLY));
    EXPECT_TRUE(e2e::WaitUntil([&] { return !dialog.Checked(IDC_DISABLE); }, 3000));
    EXPECT_TRUE(e2e::WaitUntil([&] { return dialog.Enabled(IDC_DISABLE); }, 3000));
    EXPECT_EQ(app.Ini(L"disable_permanently"), L"0");
    EXPECT_EQ(app.Ini(L"m_disable"), L"0");
}

class DialogMouseOptions : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(app_.Start(), nullptr);
        // Without the context menu option every button box is free.
        ASSERT_TRUE(Dialog().Toggle(IDC_SHOW_BY_CONTEXT_MENU));
        ASSERT_TRUE(e2e::WaitUntil([&] { return Dialog().Enabled(IDC_SHOW_BY_RIGHT); }, 3000));
    }
    const e2e::DialogDriver& Dialog() { return app_.Dialog(); }
    void ExpectBoxes(bool left, bool middle, bool right) {
        // The boxes settle once the dialog has handled the last click.
        e2e::WaitUntil(
            [&] {
                return Dialog().Checked(IDC_SHOW_BY_LEFT) == left && Dialog().Checked(IDC_SHOW_BY_MIDDLE) == middle &&
                       Dialog().Checked(IDC_SHOW_BY_RIGHT) == right;
            },
            3000);
        EXPECT_EQ(Dialog().Checked(IDC_SHOW_BY_LEFT), left);
        EXPECT_EQ(Dialog().Checked(IDC_SHOW_BY_MIDDLE), middle);
        EXPECT_EQ(Dialog().Checked(IDC_SHOW_BY_RIGHT), right);
    }
    // The rule saves all three keys whenever it has to step in.
    void ExpectButtons(bool left, bool middle, bool right) {
        ExpectBoxes(left, middle, right);
        e2e::WaitUntil([&] { return app_.Ini(L"show_icons_by_r_mouse") == (right ? L"1" : L"0"); }, 3000);
        EXPECT_EQ(app_.Ini(L"show_icons_by_l_mouse"), left ? L"1" : L"0");
        EXPECT_EQ(app_.Ini(L"show_icons_by_m_mouse"), middle ? L"1" : L"0");
        EXPECT_EQ(app_.Ini(L"show_icons_by_r_mouse"), right ? L"1" : L"0");
    }

    DialogApp app_;
};

// Left, middle and right switched off one by one, in each order: the last one turns its
// neighbour on (left: middle, middle: right, right: left).
TEST_F(DialogMouseOptions, LastButtonSwitchedOffTurnsItsNeighbourOn) {
    struct Order {
        int first, second, last, neighbour;
    };
    for (const Order& order : {Order{IDC_SHOW_BY_LEFT, IDC_SHOW_BY_MIDDLE, IDC_SHOW_BY_RIGHT, IDC_SHOW_BY_LEFT},
                               Order{IDC_SHOW_BY_RIGHT, IDC_SHOW_BY_LEFT, IDC_SHOW_BY_MIDDLE, IDC_SHOW_BY_RIGHT},
                               Order{IDC_SHOW_BY_MIDDLE, IDC_SHOW_BY_RIGHT, IDC_SHOW_BY_LEFT, IDC_SHOW_BY_MIDDLE}}) {
        SCOPED_TRACE(order.last);
        // The neighbour of the previous round is the only one on: bring the others back.
        for (int id : {IDC_SHOW_BY_LEFT, IDC_SHOW_BY_MIDDLE, IDC_SHOW_BY_RIGHT}) {
            if (!Dialog().Checked(id)) {
                ASSERT_TRUE(Dialog().Toggle(id));
            }
        }
        ASSERT_TRUE(Dialog().Toggle(order.first));
        ASSERT_TRUE(Dialog().Toggle(order.second));
        Dialog().Click(order.last);
        ASSERT_TRUE(e2e::WaitUntil([&] { return Dialog().Checked(order.neighbour); }, 3000));
        ExpectButtons(order.neighbour == IDC_SHOW_BY_LEFT, order.neighbour == IDC_SHOW_BY_MIDDLE,
                      order.neighbour == IDC_SHOW_BY_RIGHT);
    }
}

TEST_F(DialogMouseOptions, ContextMenuTurnsTheRightButtonOnAndHoldsIt) {
    ASSERT_TRUE(Dialog().Toggle(IDC_SHOW_BY_RIGHT));
    ASSERT_TRUE(Dialog().Toggle(IDC_SHOW_BY_CONTEXT_MENU));
    EXPECT_TRUE(e2e::WaitUntil([&] { return Dialog().Checked(IDC_SHOW_BY_RIGHT); }, 3000));
    EXPECT_TRUE(e2e::WaitUntil([&] { return !Dialog().Enabled(IDC_SHOW_BY_RIGHT); }, 3000));
    EXPECT_EQ(app_.Ini(L"show_icons_by_r_mouse"), L"1");
    // Off again: the box is free, the right button stays on.
    ASSERT_TRUE(Dialog().Toggle(IDC_SHOW_BY_CONTEXT_MENU));
    EXPECT_TRUE(e2e::WaitUntil([&] { return Dialog().Enabled(IDC_SHOW_BY_RIGHT); }, 3000));
    EXPECT_TRUE(e2e::WaitUntil([&] { return Dialog().Checked(IDC_SHOW_BY_RIGHT); }, 3000));
}

// The items of the "More options" menu, in menu order (separators not counted).
enum MoreOption { kHideByMiddle = 0, kWinD = 1, kMouseMove = 2, kHideAtStart = 3, kTaskbarRule = 4 };

struct MenuOption {
    int index;
    int box;  // the hidden check box that mirrors the option
    const wchar_t* key;
};

class DialogMoreOptions : public ::testing::TestWithParam<MenuOption> {};

TEST_P(DialogMoreOptions, ItemTogglesItsHiddenBoxAndIsSavedAtOnce) {
    const MenuOption& option = GetParam();
    DialogApp app;
    ASSERT_NE(app.Start(), nullptr);
    ASSERT_TRUE(app.Dialog().ChooseMoreOption(option.index));
    EXPECT_TRUE(e2e::WaitUntil([&] { return app.Ini(option.key) == L"1"; }, 3000));
    EXPECT_TRUE(app.Dialog().Checked(option.box));
    EXPECT_FALSE(IsWindowVisible(app.Dialog().Control(option.box)));
    ASSERT_NE(app.Restart(), nullptr);
    EXPECT_TRUE(app.Dialog().Checked(option.box));
    // Chosen once more, the item turns the option off.
    ASSERT_TRUE(app.Dialog().ChooseMoreOption(option.index));
    EXPECT_TRUE(e2e::WaitUntil([&] { return app.Ini(option.key) == L"0"; }, 3000));
    EXPECT_FALSE(app.Dialog().Checked(option.box));
}

INSTANTIATE_TEST_SUITE_P(DialogMenuItems,
                         DialogMoreOptions,
                         ::testing::Values(MenuOption{kHideByMiddle, IDC_HIDE_BY_MIDDLE, L"hide_icons_by_m_mouse"},
                                           MenuOption{kWinD, IDC_SHOW_BY_WIN_D, L"show_icons_win_d"},
                                           MenuOption{kMouseMove, IDC_SHOW_BY_MOUSE_MOVE, L"show_icons_mouse_move"},
                                           MenuOption{kHideAtStart, IDC_HIDE_AT_START, L"hide_at_programstart"}));

TEST(DialogMoreOptionEffects, HidingByTheMiddleButtonStopsItShowingTheIcons) {
    DialogApp app;
    ASSERT_NE(app.Start(), nullptr);
    ASSERT_TRUE(app.Dialog().ChooseMoreOption(kHideByMiddle));
    EXPECT_TRUE(e2e::WaitUntil([&] { return !app.Dialog().Checked(IDC_SHOW_BY_MIDDLE); }, 3000));
    EXPECT_TRUE(e2e::WaitUntil([&] { return !app.Dialog().Enabled(IDC_SHOW_BY_MIDDLE); }, 3000));
    EXPECT_EQ(app.Ini(L"show_icons_by_m_mouse"), L"0");
    EXPECT_EQ(app.Ini(L"hide_icons_by_m_mouse"), L"1");
}

TEST(DialogMoreOptionEffects, TaskbarRuleHasNoBoxAndFlipsItsKey) {
    DialogApp app({{L"task_bar_ico_rule", L"1"}});
    ASSERT_NE(app.Start(), nullptr);
    ASSERT_TRUE(app.Dialog().ChooseMoreOption(kTaskbarRule));
    EXPECT_TRUE(e2e::WaitUntil([&] { return app.Ini(L"task_bar_ico_rule") == L"0"; }, 3000));
    ASSERT_TRUE(app.Dialog().ChooseMoreOption(kTaskbarRule));
    EXPECT_TRUE(e2e::WaitUntil([&] { return app.Ini(L"task_bar_ico_rule") == L"1"; }, 3000));
}

TEST(DialogMoreOptionEffects, DismissedMenuChangesNothing) {
    DialogApp app;
    ASSERT_NE(app.Start(), nullptr);
    app.Dialog().Click(IDC_MORE_OPTIONS);
    ASSERT_TRUE(e2e::WaitUntil([] { return e2e::FindOpenMenu() != nullptr; }, 5000));
    e2e::PressKeys({VK_ESCAPE}, 60);
    ASSERT_TRUE(e2e::WaitUntil([] { return e2e::FindOpenMenu() == nullptr; }, 5000));
    // The menu's answer is handled after the menu has gone.
    ASSERT_TRUE(app.Dialog().CatchUp());
    for (const wchar_t* key : {L"hide_icons_by_m_mouse", L"show_icons_win_d", L"show_icons_mouse_move",
                               L"hide_at_programstart", L"task_bar_ico_rule", L"m_wallpaper_color"}) {
        EXPECT_EQ(app.Ini(key), L"") << key;
    }
    EXPECT_TRUE(app.Dialog().Visible());
}

}  // namespace
