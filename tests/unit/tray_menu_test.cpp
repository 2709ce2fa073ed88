#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "common/scoped_handle.h"
#include "resource_ids.h"
#include "unit/support/english_pack.h"
#include "unit/support/read_menu_item.h"
#include "tray/tray_menu.h"

namespace {

// English texts from the real pack.
class TrayMenu : public EnglishPackTest {};

}  // namespace

TEST_F(TrayMenu, ListsTheMainSwitchesUnderTheGreyedProgramName) {
    ScopedMenu menu(BuildTrayMenu({}));
    ASSERT_TRUE(menu);
    ASSERT_EQ(GetMenuItemCount(menu.Get()), 11);
    MenuItemView header = ReadMenuItem(menu.Get(), 0);
    EXPECT_EQ(header.text.rfind(L"Velmora ", 0), 0u) << "the name with its version";
    EXPECT_EQ(header.id, 0u);
    EXPECT_TRUE(header.state & MFS_GRAYED);

    struct Expected {
        int position;
        UINT id;
        const wchar_t* text;
    };
    // Each text with the command the program carries out for it.
    for (const Expected& e :
         {Expected{2, kTrayDisable, L"Disable"}, Expected{3, kTrayHideIconsPermanently, L"Hide desktop icons permanentl"},
          Expected{4, kTrayToTray, L"To-Tray"}, Expected{5, kTrayPreferences, L"Preferences"},
          Expected{7, IDM_EXIT, L"Exit"}, Expected{9, kTrayShowEverything, L"Show everything"},
          Expected{10, kTrayHideEverything, L"Hide everything"}}) {
        MenuItemView item = ReadMenuItem(menu.Get(), e.position);
        EXPECT_EQ(item.id, e.id) << e.position;
        EXPECT_EQ(item.text, e.text) << e.position;
        EXPECT_EQ(item.state & (MFS_CHECKED | MFS_GRAYED), 0u) << e.position;
    }
    for (int separator : {1, 6, 8}) {
        EXPECT_TRUE(ReadMenuItem(menu.Get(), separator).type & MFT_SEPARATOR) << separator;
    }
}

TEST_F(TrayMenu, CheckMarksFollowDisableTheShellsIconSettingAndTheHiddenDialog) {
    struct Case {
        TrayMenuState state;
        bool disable, permanently, toTray;
    };
    for (const Case& c :
         {Case{{true, false, false}, true, false, false}, Case{{false, true, false}, false, true, false},
          Case{{false, false, true}, false, false, true}, Case{{true, true, true}, true, true, true}}) {
        ScopedMenu menu(BuildTrayMenu(c.state));
        auto checked = [&](int position) { return (ReadMenuItem(menu.Get(), position).state & MFS_CHECKED) != 0; };
        EXPECT_EQ(checked(2), c.disable);
        EXPECT_EQ(checked(3), c.permanently);
        EXPECT_EQ(checked(4), c.toTray);
        EXPECT_FALSE(checked(5) || checked(7) || checked(9) || checked(10));
    }
}

// Under a modal window the dialog's check boxes take no clicks; nor do the two items that flip
// them. The rest of the menu acts as ever.
TEST_F(TrayMenu, DisableAndHidePermanentlyAreGreyedWhileTheDialogIsBusy) {
    for (bool busy : {false, true}) {
        TrayMenuState state;
        state.dialogBusy = busy;
        ScopedMenu menu(BuildTrayMenu(state));
        auto greyed = [&](int position) { return (ReadMenuItem(menu.Get(), position).state & MFS_GRAYED) != 0; };
        EXPECT_EQ(greyed(2), busy) << "Disable";
        EXPECT_EQ(greyed(3), busy) << "Hide desktop icons permanently";
        for (int position : {4, 5, 7, 9, 10}) {
            EXPECT_FALSE(greyed(position)) << position;
        }
    }
}

// A click reported by the newer protocols comes as the button messages and then once more as
// NIN_SELECT or WM_CONTEXTMENU; the keyboard sends only the latter, sometimes twice for one press.
TEST(TrayEvents, AClickActsOnceAndTheKeyboardActsAlone) {
    TrayEventFilter filter;
    EXPECT_EQ(filter.Classify(WM_LBUTTONDOWN, 1000), TrayAction::kToggleDialog);
    EXPECT_EQ(filter.Classify(WM_LBUTTONUP, 1050), TrayAction::kNone);
    EXPECT_EQ(filter.Classify(NIN_SELECT, 1060), TrayAction::kNone);
    EXPECT_EQ(filter.Classify(WM_LBUTTONDBLCLK, 1200), TrayAction::kNone);
    EXPECT_EQ(filter.Classify(NIN_SELECT, 1260), TrayAction::kNone) << "a double click toggled twice";
    EXPECT_EQ(filter.Classify(WM_RBUTTONDOWN, 2000), TrayAction::kMenuAt);
    EXPECT_EQ(filter.Classify(WM_CONTEXTMENU, 2500), TrayAction::kNone);

    EXPECT_EQ(filter.Classify(NIN_KEYSELECT, 5000), TrayAction::kToggleDialog);
    EXPECT_EQ(filter.Classify(NIN_KEYSELECT, 5050), TrayAction::kNone) << "one press reported twice";
    EXPECT_EQ(filter.Classify(NIN_SELECT, 6000), TrayAction::kToggleDialog);
    EXPECT_EQ(filter.Classify(WM_CONTEXTMENU, 7000), TrayAction::kKeyboardMenu);
    EXPECT_EQ(filter.Classify(WM_MOUSEMOVE, 7100), TrayAction::kNone);
}

// Version 4 tells where the icon is with NIN_KEYSELECT and NIN_SELECT, not with WM_CONTEXTMENU:
// the menu key's menu opens where the keyboard last selected the icon, else at the middle of
// the icon's rectangle, else at the cursor.
TEST(TrayEvents, TheKeyboardsMenuOpensWhereTheKeyboardSelectedTheIcon) {
    TrayEventFilter filter;
    const POINT icon = {1200, 790};
    const POINT elsewhere = {5, 5};
    EXPECT_EQ(filter.KeyboardPlace(), nullptr);
    filter.Classify(NIN_KEYSELECT, 1000, &icon);
    ASSERT_NE(filter.KeyboardPlace(), nullptr);
    EXPECT_EQ(filter.KeyboardPlace()->x, icon.x);
    EXPECT_EQ(filter.Classify(WM_CONTEXTMENU, 2000, &elsewhere), TrayAction::kKeyboardMenu);
    EXPECT_EQ(filter.KeyboardPlace()->y, icon.y) << "WM_CONTEXTMENU's wParam is not a place";
    filter.Classify(WM_LBUTTONDOWN, 3000, &elsewhere);
    EXPECT_EQ(filter.KeyboardPlace(), nullptr) << "after the mouse, the icon may be elsewhere";
    filter.Classify(NIN_SELECT, 3050, &elsewhere);
    EXPECT_EQ(filter.KeyboardPlace(), nullptr) << "a click's own NIN_SELECT";
    filter.Classify(NIN_SELECT, 5000, &icon);
    EXPECT_EQ(filter.KeyboardPlace()->x, icon.x) << "Enter on an icon selected with the arrows";

    const RECT rect = {1180, 780, 1200, 800};
    EXPECT_EQ(KeyboardMenuPlace(nullptr, &rect, elsewhere).x, 1190) << "the middle of the icon's rectangle";
}
