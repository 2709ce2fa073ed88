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

// Scripts and uninstallers send "exit" and wait for it: a settings file that cannot be
// written (locked here) must not hold it up with the start-up warning box.
TEST(Instance, ExitWordNeedsNoWritableSettingsFile) {
    VelmoraApp app;
    app.Start();
    ASSERT_NE(app.WaitForMainWindow(), nullptr);
    HANDLE reader = CreateFileW(app.IniPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_EQ(app.RunToExit(L"exit", 2000), 1);
    EXPECT_EQ(app.Running().WaitForExit(15000), 0);
    CloseHandle(reader);
}

// The exit word waits a second on each window. An instance whose GUI thread is held up longer
// (building its dialog on a loaded machine, descheduled) must still end: here it is frozen
// for the whole broadcast.
TEST(Instance, ExitWordEndsAnInstanceThatIsBusyThroughoutTheBroadcast) {
    VelmoraApp app;
    app.Start();
    HWND main = app.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_NE(app.WaitForDialog(), nullptr);
    HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, GetWindowThreadProcessId(main, nullptr));
    ASSERT_NE(thread, nullptr);
    ASSERT_NE(SuspendThread(thread), static_cast<DWORD>(-1));
    long long wordCode = app.RunToExit(L"exit");
    ResumeThread(thread);
    CloseHandle(thread);
    EXPECT_EQ(wordCode, 1);
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
