#include <gtest/gtest.h>

#include "e2e/support/velmora_app.h"

namespace {

using e2e::VelmoraApp;

TEST(Instance, ExitWordWithNoInstanceRunningEndsWithCodeOne) {
    VelmoraApp app;
    EXPECT_EQ(app.RunToExit(L"exit"), 1);
}

TEST(Instance, ExitWordEndsTheRunningInstanceWithCodeZero) {
    VelmoraApp app;
    app.Start();
    ASSERT_NE(app.WaitForMainWindow(), nullptr);
    EXPECT_EQ(app.RunToExit(L"exit"), 1);
    EXPECT_EQ(app.Running().WaitForExit(15000), 0);
}

TEST(Instance, ExitWordWithBackgroundWordOnlyBroadcasts) {
    VelmoraApp app;
    app.Start();
    ASSERT_NE(app.WaitForMainWindow(), nullptr);
    EXPECT_EQ(app.RunToExit(L"-bg exit"), 1);
    EXPECT_EQ(app.Running().WaitForExit(15000), 0);
}

TEST(Instance, SecondInstanceEndsWithCode45054AndFirstRunsOn) {
    VelmoraApp app;
    app.Start();
    ASSERT_NE(app.WaitForMainWindow(), nullptr);
    EXPECT_EQ(app.RunToExit(L""), 45054);
    EXPECT_TRUE(app.Running().Running());
}

TEST(Instance, ClosingTheMainWindowEndsWithCodeZero) {
    VelmoraApp app;
    app.Start();
    HWND main = app.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(IsWindowVisible(main));
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(app.Running().WaitForExit(15000), 0);
}

}  // namespace
