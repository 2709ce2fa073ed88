#include <gtest/gtest.h>

#include "e2e/support/desktop_standin.h"
#include "e2e/support/velmora_app.h"

namespace {

using e2e::DesktopStandin;
using e2e::VelmoraApp;

// Whatever hid the icons and taskbars while Velmora ran, its end brings them back.
class DesktopRestore : public ::testing::Test {
protected:
    void StartWith(const e2e::StandinOptions& options) {
        ASSERT_TRUE(standin_.Start(options));
        app_.Start();
        ASSERT_NE(app_.WaitForMainWindow(), nullptr);
        // The dialog shows the icons while it starts and is shown itself after that: hide them
        // only then.
        HWND dialog = app_.WaitForDialog();
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(e2e::WaitUntil([dialog] { return IsWindowVisible(dialog) != 0; }, 10000));
    }

    static void HideIconsAndTaskbars() {
        ShowWindow(DesktopStandin::ListView(), SW_HIDE);
        for (HWND secondary : DesktopStandin::SecondaryTaskbars()) {
            ShowWindow(secondary, SW_HIDE);
        }
        ShowWindow(FindWindowW(L"Shell_TrayWnd", nullptr), SW_HIDE);
        ASSERT_TRUE(e2e::WaitUntil([] { return !DesktopStandin::IconsVisible(); }, 5000));
    }

    static bool EverythingComesBack() {
        return e2e::WaitUntil(
            [] {
                return DesktopStandin::IconsVisible() && IsWindowVisible(FindWindowW(L"Shell_TrayWnd", nullptr)) &&
                       IsWindowVisible(FindWindowW(L"Shell_SecondaryTrayWnd", nullptr));
            },
            10000);
    }

    void TearDown() override {
        ShowWindow(FindWindowW(L"Shell_TrayWnd", nullptr), SW_SHOW);
    }

    DesktopStandin standin_;
    VelmoraApp app_;
};

TEST_F(DesktopRestore, AfterTheExitWord) {
    StartWith({e2e::Layout::kProgman, 1, false});
    HideIconsAndTaskbars();
    EXPECT_EQ(app_.EndWithExitWord(), 0);
    EXPECT_TRUE(EverythingComesBack());
}

TEST_F(DesktopRestore, AfterTheMainWindowIsClosed) {
    StartWith({e2e::Layout::kProgman, 1, false});
    HideIconsAndTaskbars();
    PostMessageW(app_.WaitForMainWindow(), WM_CLOSE, 0, 0);
    EXPECT_EQ(app_.Running().WaitForExit(15000), 0);
    EXPECT_TRUE(EverythingComesBack());
}

TEST_F(DesktopRestore, AfterASecondInstanceEnds) {
    StartWith({e2e::Layout::kProgman, 1, false});
    HideIconsAndTaskbars();
    EXPECT_EQ(app_.RunToExit(L""), 45054);
    EXPECT_TRUE(EverythingComesBack());
}

TEST_F(DesktopRestore, FindsTheDesktopViewUnderAWorkerWindow) {
    StartWith({e2e::Layout::kWorkerW, 1, false});
    ASSERT_EQ(FindWindowExW(DesktopStandin::Progman(), nullptr, L"SHELLDLL_DefView", nullptr), nullptr);
    HideIconsAndTaskbars();
    EXPECT_EQ(app_.EndWithExitWord(), 0);
    EXPECT_TRUE(EverythingComesBack());
}

TEST_F(DesktopRestore, FindsTheNewWindowsAfterTheShellRestarts) {
    StartWith({e2e::Layout::kProgman, 1, false});
    HWND before = DesktopStandin::ListView();
    ASSERT_TRUE(standin_.Restart(300));
    ASSERT_NE(DesktopStandin::ListView(), before);
    EXPECT_TRUE(app_.Running().Running());
    HideIconsAndTaskbars();
    EXPECT_EQ(app_.EndWithExitWord(), 0);
    EXPECT_TRUE(EverythingComesBack());
}

TEST_F(DesktopRestore, ExitWordWithNoInstanceStillShowsTheIconsAtItsEnd) {
    ASSERT_TRUE(standin_.Start({e2e::Layout::kProgman, 1, false}));
    ShowWindow(DesktopStandin::ListView(), SW_HIDE);
    VelmoraApp asker;
    EXPECT_EQ(asker.RunToExit(L"exit"), 1);
    // Its own teardown shows the icons, like every end of the program.
    EXPECT_TRUE(EverythingComesBack());
}

}  // namespace
