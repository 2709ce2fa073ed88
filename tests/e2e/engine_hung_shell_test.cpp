// A hung Explorer (a slow network drive, a stuck shell extension) answers nothing for seconds.
// The program must go on answering meanwhile, end when asked, and leave the desktop as the
// user asked for it once the shell answers again. The stand-in hangs on request; Wine's own
// taskbar does not.
#include <gtest/gtest.h>

#include <windows.h>

#include "e2e/support/desktop_standin.h"
#include "e2e/support/dialog_app.h"
#include "e2e/support/dialog_driver.h"

namespace {

using e2e::DesktopStandin;
using e2e::DialogApp;

constexpr UINT kTrayCallback = WM_APP + 100;  // 32868
constexpr UINT kIconId = 107;
constexpr POINT kRestingPoint = {1100, 300};  // empty desktop right of the dialog
constexpr DWORD kAnswerMs = 5000;
// A window that takes longer than this over a message does not answer, for a user.
constexpr DWORD kPromptMs = 1000;
// Long enough to outlast the checks on a loaded machine; each hang is ended once they are done.
constexpr DWORD kHangMs = 20000;

// Menu items counted upwards from the last one, which the End key selects.
enum class TrayItem { kHideEverything = 0, kShowEverything, kExit };

// Opens the tray menu as the shell would after a right press; with an item, picks it with the
// keyboard (keys posted to the menu: real ones can go astray under load), else closes it.
bool UseTrayMenu(HWND mainWindow, const TrayItem* item) {
    PostMessageW(mainWindow, kTrayCallback, kIconId, WM_RBUTTONDOWN);
    HWND menu = nullptr;
    if (!e2e::WaitUntil([&] { return (menu = e2e::FindOpenMenu()) != nullptr; }, kAnswerMs)) {
        return false;
    }
    auto press = [&](WPARAM key) {
        PostMessageW(menu, WM_KEYDOWN, key, 1);
        PostMessageW(menu, WM_KEYUP, key, 1 | 0xC0000000);
    };
    if (item == nullptr) {
        press(VK_ESCAPE);
    } else {
        press(VK_END);
        for (int up = 0; up < static_cast<int>(*item); ++up) {
            press(VK_UP);
        }
        press(VK_RETURN);
    }
    return e2e::WaitUntil([] { return e2e::FindOpenMenu() == nullptr; }, kAnswerMs);
}

bool ChooseTrayItem(HWND mainWindow, TrayItem item) {
    return UseTrayMenu(mainWindow, &item);
}

bool EverythingVisible() {
    return DesktopStandin::IconsVisible() && IsWindowVisible(FindWindowW(L"Shell_TrayWnd", nullptr)) &&
           IsWindowVisible(FindWindowW(L"Shell_SecondaryTrayWnd", nullptr));
}

}  // namespace

// While the shell hangs: the dialog answers, also after the icons were asked for and a click on
// the empty desktop, and the tray menu opens; once the shell answers, the icons and taskbars
// are there as asked. Hung once more with everything hidden: Exit ends the program within a
// few seconds, and the shell, answering again, shows everything.
TEST(EngineHungShell, DialogAndTrayMenuAnswerExitEndsAndTheShellCarriesOutWhatWasAsked) {
    DesktopStandin standin;
    ASSERT_TRUE(standin.Start({e2e::Layout::kProgman, 1, false}));
    ASSERT_TRUE(e2e::MoveCursor(kRestingPoint.x, kRestingPoint.y));
    DialogApp app({{L"auto_hide_icons_sec", L"600"}, {L"hide_taskbar", L"1"}, {L"m_wallpaper_color", L"255"}});
    ASSERT_NE(app.Start(), nullptr);
    HWND mainWindow = app.App().WaitForMainWindow();

    ASSERT_TRUE(ChooseTrayItem(mainWindow, TrayItem::kHideEverything));
    ASSERT_TRUE(e2e::WaitUntil([] { return !DesktopStandin::IconsVisible(); }, kAnswerMs));
    ASSERT_TRUE(app.Dialog().CatchUp());
    ASSERT_TRUE(standin.Hang(kHangMs));
    DWORD hungAt = GetTickCount();
    EXPECT_TRUE(app.Dialog().CatchUp(kPromptMs));
    // Wine tells the program of a click on a hung window only once that window's thread takes
    // it: the tray menu asks for the icons instead, and the click comes after.
    ASSERT_TRUE(ChooseTrayItem(mainWindow, TrayItem::kShowEverything));
    ASSERT_TRUE(e2e::MoveCursor(kRestingPoint.x, kRestingPoint.y));
    e2e::HoldLeftButton();
    for (int probe = 0; probe < 5; ++probe) {  // over several ticks
        EXPECT_TRUE(app.Dialog().CatchUp(kPromptMs)) << probe;
        Sleep(50);
    }
    EXPECT_TRUE(UseTrayMenu(mainWindow, nullptr));
    EXPECT_FALSE(standin.Answers(50)) << "the hang lasted through the checks";
    EXPECT_LT(GetTickCount() - hungAt, kHangMs);
    standin.EndHang();
    ASSERT_TRUE(e2e::WaitUntil([&] { return standin.Answers(100); }, kAnswerMs));
    EXPECT_TRUE(e2e::WaitUntil(EverythingVisible, kAnswerMs));

    ASSERT_TRUE(ChooseTrayItem(mainWindow, TrayItem::kHideEverything));
    ASSERT_TRUE(e2e::WaitUntil([] { return !DesktopStandin::IconsVisible(); }, kAnswerMs));
    ASSERT_TRUE(app.Dialog().CatchUp());
    ASSERT_TRUE(standin.Hang(kHangMs));
    hungAt = GetTickCount();
    ASSERT_TRUE(ChooseTrayItem(mainWindow, TrayItem::kExit));
    EXPECT_EQ(app.App().Running().WaitForExit(kAnswerMs), 1);
    EXPECT_FALSE(standin.Answers(50)) << "ended while the shell still hung";
    EXPECT_LT(GetTickCount() - hungAt, kHangMs);
    standin.EndHang();
    ASSERT_TRUE(e2e::WaitUntil([&] { return standin.Answers(100); }, kAnswerMs));
    EXPECT_TRUE(e2e::WaitUntil(EverythingVisible, kAnswerMs));
}
