// The dialog's options as the user meets them: real clicks on the boxes and on the "More
// options" menu, the INI file read after each, one program run per group of behaviour (and a
// restart where the next start is what is tested).
#include <gtest/gtest.h>

#include <vector>

#include "e2e/support/dialog_app.h"
#include "resource_ids.h"

namespace {

using e2e::DialogApp;

constexpr DWORD kSavedMs = 3000;

struct CheckBoxOption {
    int id;
    const wchar_t* key;
};

// The boxes in an order in which each can still be clicked: "Disable" greys the engine's
// options, so it comes last.
constexpr CheckBoxOption kBoxes[] = {
    {IDC_ALWAYS_ON_TOP, L"topmost"},
    {IDC_START_IN_TRAY, L"start_tray"},
    {IDC_HIDE_TASKBAR, L"hide_taskbar"},
    {IDC_SHOW_BY_LEFT, L"show_icons_by_l_mouse"},
    {IDC_SHOW_BY_MIDDLE, L"show_icons_by_m_mouse"},
    {IDC_SHOW_BY_CONTEXT_MENU, L"show_icons_by_contextmenu"},
    {IDC_DISABLE, L"m_disable"},
};

// Each box is saved the moment it is clicked, and the next start shows it as it was left.
TEST(DialogOptions, EveryBoxIsSavedAtOnceAndTheNextStartShowsItAsItWasLeft) {
    DialogApp app({{L"auto_hide_icons_sec", L"600"}});  // nothing hides while the boxes are clicked
    ASSERT_NE(app.Start(), nullptr);
    std::vector<bool> before;
    for (const CheckBoxOption& box : kBoxes) {
        SCOPED_TRACE(testing::Message() << "box " << box.id);
        before.push_back(app.Dialog().Checked(box.id));
        ASSERT_TRUE(app.Dialog().Toggle(box.id));
        const wchar_t* saved = before.back() ? L"0" : L"1";
        EXPECT_TRUE(e2e::WaitUntil([&] { return app.Ini(box.key) == saved; }, kSavedMs)) << app.Ini(box.key);
    }
    // "Always start minimized" is now on.
    ASSERT_NE(app.Restart(true), nullptr);
    for (size_t at = 0; at < before.size(); ++at) {
        EXPECT_EQ(app.Dialog().Checked(kBoxes[at].id), !before[at]) << "box " << kBoxes[at].id;
    }
}

// What the boxes do at once, besides being saved.
TEST(DialogOptions, BoxesActAtOnce) {
    DialogApp app({{L"auto_hide_icons_sec", L"600"}, {L"hide_taskbar", L"1"}});
    ASSERT_NE(app.Start(), nullptr);
    const auto& dialog = app.Dialog();
    const HWND window = dialog.Window();

    // "Always on Top" keeps the dialog above other windows.
    EXPECT_EQ(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    ASSERT_TRUE(dialog.Toggle(IDC_ALWAYS_ON_TOP));
    EXPECT_TRUE(e2e::WaitUntil([&] { return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }, kSavedMs));
    ASSERT_TRUE(dialog.Toggle(IDC_ALWAYS_ON_TOP));
    EXPECT_TRUE(e2e::WaitUntil([&] { return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) == 0; }, kSavedMs));

    // Switching "Hide taskbar" off brings a hidden taskbar back.
    HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    ASSERT_NE(taskbar, nullptr);
    ShowWindow(taskbar, SW_HIDE);
    ASSERT_TRUE(dialog.Toggle(IDC_HIDE_TASKBAR));
    EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(taskbar) != 0; }, kSavedMs));
    EXPECT_EQ(app.Ini(L"hide_taskbar"), L"0");
    ShowWindow(taskbar, SW_SHOW);

    // "Disable" greys the options that need the engine, and enabling frees them; the context
    // menu option still holds the right button.
    ASSERT_TRUE(dialog.Toggle(IDC_DISABLE));
    for (int id : {IDC_SHOW_BY_LEFT, IDC_SHOW_BY_MIDDLE, IDC_SHOW_BY_RIGHT, IDC_SHOW_BY_CONTEXT_MENU, IDC_HIDE_TASKBAR,
                   IDC_HIDE_AT_START}) {
        EXPECT_FALSE(dialog.Enabled(id)) << id;
    }
    ASSERT_TRUE(dialog.Toggle(IDC_DISABLE));
    EXPECT_TRUE(e2e::WaitUntil([&] { return dialog.Enabled(IDC_SHOW_BY_LEFT); }, kSavedMs));
    EXPECT_TRUE(e2e::WaitUntil([&] { return dialog.Enabled(IDC_SHOW_BY_MIDDLE); }, kSavedMs));
    EXPECT_TRUE(e2e::WaitUntil([&] { return dialog.Enabled(IDC_HIDE_TASKBAR); }, kSavedMs));
    EXPECT_TRUE(e2e::WaitUntil([&] { return !dialog.Enabled(IDC_SHOW_BY_RIGHT); }, kSavedMs));
    EXPECT_EQ(app.Ini(L"m_disable"), L"0");

    // "Hide desktop icons permanently" ticks "Disable" and locks it, and gives it back.
    ASSERT_TRUE(dialog.Toggle(IDC_DISABLE_PERMANENTLY));
    EXPECT_TRUE(e2e::WaitUntil([&] { return dialog.Checked(IDC_DISABLE); }, kSavedMs));
    EXPECT_TRUE(e2e::WaitUntil([&] { return !dialog.Enabled(IDC_DISABLE); }, kSavedMs));
    EXPECT_TRUE(e2e::WaitUntil([&] { return !dialog.Enabled(IDC_SHOW_BY_LEFT); }, kSavedMs));
    EXPECT_EQ(app.Ini(L"disable_permanently"), L"1");
    EXPECT_EQ(app.Ini(L"m_disable"), L"1");
    ASSERT_TRUE(dialog.Toggle(IDC_DISABLE_PERMANENTLY));
    EXPECT_TRUE(e2e::WaitUntil([&] { return !dialog.Checked(IDC_DISABLE); }, kSavedMs));
    EXPECT_TRUE(e2e::WaitUntil([&] { return dialog.Enabled(IDC_DISABLE); }, kSavedMs));
    EXPECT_EQ(app.Ini(L"disable_permanently"), L"0");
    EXPECT_EQ(app.Ini(L"m_disable"), L"0");
}

class DialogMouseOptions : public ::testing::Test {
  protected:
    const e2e::DialogDriver& Dialog() { return app_.Dialog(); }
    void ExpectBoxes(bool left, bool middle, bool right) {
        // The boxes settle once the dialog has handled the last click.
        e2e::WaitUntil(
            [&] {
                return Dialog().Checked(IDC_SHOW_BY_LEFT) == left && Dialog().Checked(IDC_SHOW_BY_MIDDLE) == middle &&
                       Dialog().Checked(IDC_SHOW_BY_RIGHT) == right;
            },
            kSavedMs);
        EXPECT_EQ(Dialog().Checked(IDC_SHOW_BY_LEFT), left);
        EXPECT_EQ(Dialog().Checked(IDC_SHOW_BY_MIDDLE), middle);
        EXPECT_EQ(Dialog().Checked(IDC_SHOW_BY_RIGHT), right);
    }
    // The rule saves all three keys whenever it has to step in.
    void ExpectButtons(bool left, bool middle, bool right) {
        ExpectBoxes(left, middle, right);
        e2e::WaitUntil([&] { return app_.Ini(L"show_icons_by_r_mouse") == (right ? L"1" : L"0"); }, kSavedMs);
        EXPECT_EQ(app_.Ini(L"show_icons_by_l_mouse"), left ? L"1" : L"0");
        EXPECT_EQ(app_.Ini(L"show_icons_by_m_mouse"), middle ? L"1" : L"0");
        EXPECT_EQ(app_.Ini(L"show_icons_by_r_mouse"), right ? L"1" : L"0");
    }

    DialogApp app_;
};

// Left, middle and right switched off one by one, in each order: the last one turns its
// neighbour on (left: middle, middle: right, right: left). The context menu option turns the
// right button on and holds it.
TEST_F(DialogMouseOptions, LastButtonSwitchedOffTurnsItsNeighbourOnAndTheContextMenuHoldsTheRightButton) {
    ASSERT_NE(app_.Start(), nullptr);
    // Without the context menu option every button box is free.
    ASSERT_TRUE(Dialog().Toggle(IDC_SHOW_BY_CONTEXT_MENU));
    ASSERT_TRUE(e2e::WaitUntil([&] { return Dialog().Enabled(IDC_SHOW_BY_RIGHT); }, kSavedMs));
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
        ASSERT_TRUE(Dialog().Toggle(order.last));
        ASSERT_TRUE(e2e::WaitUntil([&] { return Dialog().Checked(order.neighbour); }, kSavedMs));
        ExpectButtons(order.neighbour == IDC_SHOW_BY_LEFT, order.neighbour == IDC_SHOW_BY_MIDDLE,
                      order.neighbour == IDC_SHOW_BY_RIGHT);
    }

    // Only the middle button is on now.
    ASSERT_TRUE(Dialog().Toggle(IDC_SHOW_BY_CONTEXT_MENU));
    EXPECT_TRUE(e2e::WaitUntil([&] { return Dialog().Checked(IDC_SHOW_BY_RIGHT); }, kSavedMs));
    EXPECT_TRUE(e2e::WaitUntil([&] { return !Dialog().Enabled(IDC_SHOW_BY_RIGHT); }, kSavedMs));
    EXPECT_EQ(app_.Ini(L"show_icons_by_r_mouse"), L"1");
    // Off again: the box is free, the right button stays on.
    ASSERT_TRUE(Dialog().Toggle(IDC_SHOW_BY_CONTEXT_MENU));
    EXPECT_TRUE(e2e::WaitUntil([&] { return Dialog().Enabled(IDC_SHOW_BY_RIGHT); }, kSavedMs));
    EXPECT_TRUE(e2e::WaitUntil([&] { return Dialog().Checked(IDC_SHOW_BY_RIGHT); }, kSavedMs));
}

// The items of the "More options" menu, in menu order (separators not counted).
enum MoreOption { kHideByMiddle = 0, kWinD = 1, kMouseMove = 2, kHideAtStart = 3, kTaskbarRule = 4 };

struct MenuOption {
    int index;
    int box;  // the hidden check box that mirrors the option
    const wchar_t* key;
};

constexpr MenuOption kMenuOptions[] = {
    {kHideByMiddle, IDC_HIDE_BY_MIDDLE, L"hide_icons_by_m_mouse"},
    {kWinD, IDC_SHOW_BY_WIN_D, L"show_icons_win_d"},
    {kMouseMove, IDC_SHOW_BY_MOUSE_MOVE, L"show_icons_mouse_move"},
    {kHideAtStart, IDC_HIDE_AT_START, L"hide_at_programstart"},
};

// Each item toggles its hidden box and is saved at once; the next start shows it; chosen once
// more, it turns the option off. The taskbar rule has no box and flips its key. A menu
// dismissed with Escape changes nothing.
TEST(DialogMoreOptions, ItemsToggleTheirHiddenBoxesAreSavedAtOnceAndSurviveARestart) {
    DialogApp app({{L"task_bar_ico_rule", L"1"}});
    ASSERT_NE(app.Start(), nullptr);
    const auto& dialog = app.Dialog();

    ASSERT_NE(e2e::OpenMenuWith([&] { dialog.Click(IDC_MORE_OPTIONS); }), nullptr);
    e2e::PressKeys({VK_ESCAPE}, 60);
    ASSERT_TRUE(e2e::WaitUntil([] { return e2e::FindOpenMenu() == nullptr; }, 5000));
    // The menu's answer is handled after the menu has gone.
    ASSERT_TRUE(dialog.CatchUp());
    for (const wchar_t* key : {L"hide_icons_by_m_mouse", L"show_icons_win_d", L"show_icons_mouse_move",
                               L"hide_at_programstart", L"m_wallpaper_color"}) {
        EXPECT_EQ(app.Ini(key), L"") << key;
    }
    EXPECT_EQ(app.Ini(L"task_bar_ico_rule"), L"1");
    EXPECT_TRUE(dialog.Visible());

    for (const MenuOption& option : kMenuOptions) {
        SCOPED_TRACE(testing::Message() << "item " << option.index);
        ASSERT_TRUE(dialog.ChooseMoreOption(option.index));
        EXPECT_TRUE(e2e::WaitUntil([&] { return app.Ini(option.key) == L"1"; }, kSavedMs));
        EXPECT_TRUE(dialog.Checked(option.box));
        EXPECT_FALSE(IsWindowVisible(dialog.Control(option.box)));
    }
    // Hiding by the middle button stops it showing the icons.
    EXPECT_TRUE(e2e::WaitUntil([&] { return !dialog.Checked(IDC_SHOW_BY_MIDDLE); }, kSavedMs));
    EXPECT_TRUE(e2e::WaitUntil([&] { return !dialog.Enabled(IDC_SHOW_BY_MIDDLE); }, kSavedMs));
    EXPECT_EQ(app.Ini(L"show_icons_by_m_mouse"), L"0");

    ASSERT_TRUE(dialog.ChooseMoreOption(kTaskbarRule));
    EXPECT_TRUE(e2e::WaitUntil([&] { return app.Ini(L"task_bar_ico_rule") == L"0"; }, kSavedMs));
    ASSERT_TRUE(dialog.ChooseMoreOption(kTaskbarRule));
    EXPECT_TRUE(e2e::WaitUntil([&] { return app.Ini(L"task_bar_ico_rule") == L"1"; }, kSavedMs));

    ASSERT_NE(app.Restart(), nullptr);
    for (const MenuOption& option : kMenuOptions) {
        SCOPED_TRACE(testing::Message() << "item " << option.index);
        EXPECT_TRUE(app.Dialog().Checked(option.box));
        ASSERT_TRUE(app.Dialog().ChooseMoreOption(option.index));
        EXPECT_TRUE(e2e::WaitUntil([&] { return app.Ini(option.key) == L"0"; }, kSavedMs));
        EXPECT_FALSE(app.Dialog().Checked(option.box));
    }
}

}  // namespace
