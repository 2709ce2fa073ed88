#include <gtest/gtest.h>

#include "e2e/support/velmora_app.h"

namespace {

using e2e::VelmoraApp;

// The warning box of an INI file that can be neither opened nor created.
HWND FindWarning(DWORD processId) {
    HWND found = nullptr;
    e2e::WaitUntil(
        [&] {
            HWND box = e2e::FindProcessWindow(processId, L"#32770");
            wchar_t title[64] = L"";
            if (box != nullptr && GetWindowTextW(box, title, 64) > 0 && wcscmp(title, L"Error! File access!") == 0) {
                found = box;
            }
            return found != nullptr;
        },
        15000);
    return found;
}

TEST(SettingsFile, IsCreatedBesideTheExeAtFirstStart) {
    VelmoraApp app;
    ASSERT_FALSE(e2e::FileExists(app.IniPath()));
    app.Start();
    ASSERT_NE(app.WaitForMainWindow(), nullptr);
    EXPECT_TRUE(e2e::FileExists(app.IniPath()));
    EXPECT_EQ(app.EndWithExitWord(), 0);
}

TEST(SettingsFile, ExeWithoutExtensionInDottedFolderUsesNamePlusIni) {
    e2e::TempFolder parent;
    std::wstring folder = parent.File(L"my.apps");
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    VelmoraApp app(folder, L"tool");
    app.Start();
    ASSERT_NE(app.WaitForMainWindow(), nullptr);
    EXPECT_TRUE(e2e::FileExists(folder + L"\\tool.ini"));
    EXPECT_FALSE(e2e::FileExists(parent.File(L"my.ini")));
}

// Tests run as root, which may write to read-only files; a reader that denies others write
// access makes the file just as unwritable for the program while it can still read it.
TEST(SettingsFile, UnwritableFileShowsTheWarningAndTheProgramRunsOn) {
    VelmoraApp app;
    e2e::WriteIniValue(app.IniPath(), L"auto_hide_icons_sec", L"7");
    HANDLE reader = CreateFileW(app.IniPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    app.Start();
    HWND warning = FindWarning(app.Running().Id());
    ASSERT_NE(warning, nullptr);
    wchar_t text[1024] = L"";
    GetDlgItemTextW(warning, 0xFFFF, text, 1024);
    EXPECT_NE(std::wstring(text).find(L"Velmora.ini"), std::wstring::npos);
    PostMessageW(warning, WM_COMMAND, IDOK, 0);
    EXPECT_NE(app.WaitForMainWindow(), nullptr);
    CloseHandle(reader);
}

}  // namespace
