// The tray icon from the keyboard: what the shell sends once the icon is selected with Win+B
// and the arrows (Wine's notification area has no keyboard focus, so the test sends it as the
// shell would, in the newer protocol's form).
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <cstdlib>

#include "e2e/support/dialog_app.h"

namespace {

using e2e::DialogApp;
using e2e::WaitUntil;

constexpr UINT kTrayCallback = WM_APP + 100;  // 32868
constexpr UINT kIconId = 107;
constexpr POINT kIconPlace = {700, 300};  // where the whole menu fits, so no screen edge moves it

void SendShellEvent(HWND mainWindow, UINT event, POINT place = kIconPlace) {
    PostMessageW(mainWindow, kTrayCallback, MAKEWPARAM(place.x, place.y), MAKELPARAM(event, kIconId));
}

bool Near(LONG a, LONG b) {
    return std::abs(a - b) <= 2;
}

}  // namespace

TEST(TrayKeyboard, EnterTogglesTheDialogAClickActsOnceAndTheMenuKeyOpensTheMenuAtTheIcon) {
    DialogApp app;
    ASSERT_NE(app.Start(), nullptr);
    HWND mainWindow = app.App().WaitForMainWindow();
    HWND dialog = app.Dialog().Window();
    ASSERT_TRUE(e2e::MoveCursor(200, 150));

    // A click: the press toggles, the NIN_SELECT that follows it only repeats the click.
    SendShellEvent(mainWindow, WM_LBUTTONDOWN);
    SendShellEvent(mainWindow, WM_LBUTTONUP);
    SendShellEvent(mainWindow, NIN_SELECT);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }, 5000));
    ASSERT_TRUE(app.Dialog().CatchUp());
    EXPECT_FALSE(IsWindowVisible(dialog)) << "the click's NIN_SELECT toggled the dialog a second time";

    SendShellEvent(mainWindow, NIN_KEYSELECT);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(dialog) != 0; }, 5000));

    // The menu key's message carries no place of its own: the menu goes where the keyboard
    // selected the icon.
    SendShellEvent(mainWindow, WM_CONTEXTMENU, POINT{100, 100});
    HWND menu = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (menu = e2e::FindOpenMenu()) != nullptr; }, 5000));
    RECT rect = {};
    GetWindowRect(menu, &rect);
    EXPECT_TRUE((Near(rect.left, kIconPlace.x) || Near(rect.right, kIconPlace.x)) &&
                (Near(rect.top, kIconPlace.y) || Near(rect.bottom, kIconPlace.y)))
        << "menu at " << rect.left << "," << rect.top << "-" << rect.right << "," << rect.bottom;
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_TRUE(WaitUntil([] { return e2e::FindOpenMenu() == nullptr; }, 5000));
    EXPECT_TRUE(app.App().Running().Running());
}
