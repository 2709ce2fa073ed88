#include <gtest/gtest.h>

#include "e2e/support/velmora_app.h"

namespace {

using e2e::VelmoraApp;

// Wine's own taskbar of the "shell" desktop plays the primary taskbar.
class TaskbarRestore : public ::testing::Test {
protected:
    void SetUp() override {
        app_.Start();
        ASSERT_NE(app_.WaitForMainWindow(), nullptr);
        ASSERT_TRUE(e2e::WaitUntil([&] { return Taskbar() != nullptr; }, 10000));
        ShowWindow(Taskbar(), SW_HIDE);
        ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindowVisible(Taskbar()); }, 5000));
    }
    void TearDown() override { ShowWindow(Taskbar(), SW_SHOW); }

    static HWND Taskbar() { return FindWindowW(L"Shell_TrayWnd", nullptr); }
    bool TaskbarComesBack() {
        return e2e::WaitUntil([&] { return IsWindowVisible(Taskbar()) != 0; }, 10000);
    }

    VelmoraApp app_;
};

TEST_F(TaskbarRestore, AfterTheExitWord) {
    EXPECT_EQ(app_.EndWithExitWord(), 0);
    EXPECT_TRUE(TaskbarComesBack());
}

TEST_F(TaskbarRestore, AfterTheMainWindowIsClosed) {
    PostMessageW(app_.WaitForMainWindow(), WM_CLOSE, 0, 0);
    EXPECT_EQ(app_.Running().WaitForExit(15000), 0);
    EXPECT_TRUE(TaskbarComesBack());
}

TEST_F(TaskbarRestore, AfterASecondInstanceEnds) {
    EXPECT_EQ(app_.RunToExit(L""), 45054);
    EXPECT_TRUE(TaskbarComesBack());
}

}  // namespace
