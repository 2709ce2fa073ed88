#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "e2e/support/dialog_app.h"
#include "e2e/support/menu_bar_driver.h"
#include "resource_ids.h"

namespace {

using e2e::DialogApp;

// The window with the keyboard focus in the thread of `window`.
HWND FocusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// The link bar carries its two buttons where its place holder was. Escape leaves the dialog
// open; minimising and the close box hide it (not to an icon), the program runs on, and a
// second start brings the same dialog back.
TEST(DialogWindow, EscapeKeepsTheDialogOpenMinimiseAndCloseHideItToTheTray) {
    DialogApp app;
    ASSERT_NE(app.Start(), nullptr);

    // The dialog's other toolbar is the menu bar.
    const HWND menuBar = e2e::MenuBarDriver(app.Dialog().Window()).Bar();
    HWND linkBar = nullptr;
    do {
        linkBar = FindWindowExW(app.Dialog().Window(), linkBar, L"ToolbarWindow32", nullptr);
    } while (linkBar != nullptr && linkBar == menuBar);
    ASSERT_NE(linkBar, nullptr);
    EXPECT_EQ(SendMessageW(linkBar, TB_BUTTONCOUNT, 0, 0), 2);
    EXPECT_NE(SendMessageW(linkBar, TB_COMMANDTOINDEX, IDC_LINK_BAR_PLACE, 0), -1);
    EXPECT_NE(SendMessageW(linkBar, TB_COMMANDTOINDEX, IDM_DONATE, 0), -1);
    // It lies where its place holder was, which is hidden.
    EXPECT_FALSE(IsWindowVisible(app.Dialog().Control(IDC_LINK_BAR_PLACE)));
    RECT bar = {};
    RECT place = {};
    GetWindowRect(linkBar, &bar);
    GetWindowRect(app.Dialog().Control(IDC_LINK_BAR_PLACE), &place);
    EXPECT_EQ(bar.left, place.left);
    EXPECT_EQ(bar.top, place.top);
    EXPECT_EQ(bar.right, place.right);

    app.Dialog().Activate();
    ASSERT_EQ(GetForegroundWindow(), app.Dialog().Window());
    HWND focus = FocusOf(app.Dialog().Window());
    e2e::PressKeys({VK_ESCAPE}, 100);
    // Keys are taken in order: once the Tab after it has moved the focus, Escape was handled.
    e2e::PressKeys({VK_TAB}, 100);
    ASSERT_TRUE(e2e::WaitUntil([&] { return FocusOf(app.Dialog().Window()) != focus; }, 3000));
    EXPECT_TRUE(app.Dialog().Visible());
    EXPECT_TRUE(app.App().Running().Running());

    PostMessageW(app.Dialog().Window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(e2e::WaitUntil([&] { return !app.Dialog().Visible(); }, 5000));
    EXPECT_FALSE(IsIconic(app.Dialog().Window()));
    EXPECT_EQ(app.App().RunToExit(L"", 10000), 45054);
    EXPECT_TRUE(e2e::WaitUntil([&] { return app.Dialog().Visible(); }, 5000));

    PostMessageW(app.Dialog().Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(e2e::WaitUntil([&] { return !app.Dialog().Visible(); }, 5000));
    EXPECT_EQ(app.App().RunToExit(L"", 10000), 45054);
    EXPECT_TRUE(e2e::WaitUntil([&] { return app.Dialog().Visible(); }, 5000));
    EXPECT_TRUE(app.App().Running().Running());
}

TEST(DialogWindow, MinimiseDoesNothingWhenTrayOnMinimiseIsOff) {
    DialogApp app({{L"tray_if_minimize", L"0"}});
    ASSERT_NE(app.Start(), nullptr);
    app.Dialog().Activate();
    PostMessageW(app.Dialog().Window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(app.Dialog().CatchUp());
    EXPECT_TRUE(app.Dialog().Visible());
    EXPECT_FALSE(IsIconic(app.Dialog().Window()));
}

}  // namespace
