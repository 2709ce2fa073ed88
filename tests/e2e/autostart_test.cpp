// Start with Windows as the user meets it: the check box and the current user's Run value.
// The Wine prefix is the tests' own; whatever value was there is put back after each test.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "e2e/support/dialog_app.h"
#include "e2e/support/velmora_app.h"
#include "resource_ids.h"

namespace {

using e2e::DialogApp;

constexpr wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kValueName[] = L"Velmora";

struct RunValue {
    bool present = false;
    DWORD type = 0;
    std::vector<BYTE> bytes;

    std::wstring Text() const {
        std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
        return text.substr(0, text.find(L'\0'));
    }
};

// Read as the program reads it: the bytes stored, with no terminator added.
RunValue ReadRunValue() {
    RunValue value;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return value;
    }
    DWORD bytes = 0;
    if (RegQueryValueExW(key, kValueName, nullptr, &value.type, nullptr, &bytes) == ERROR_SUCCESS) {
        value.bytes.resize(bytes);
        value.present =
            RegQueryValueExW(key, kValueName, nullptr, &value.type, value.bytes.data(), &bytes) == ERROR_SUCCESS;
        value.bytes.resize(bytes);
    }
    RegCloseKey(key);
    return value;
}

void PutRunValue(const RunValue& value) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    if (value.present) {
        // A string whose next character is a null is stored with that null, whatever the size
        // says: a guard that is no null keeps unterminated data as it is.
        std::vector<BYTE> data = value.bytes;
        data.insert(data.end(), {'x', 0, 0, 0});
        RegSetValueExW(key, kValueName, 0, value.type, data.data(), static_cast<DWORD>(value.bytes.size()));
    } else {
        RegDeleteValueW(key, kValueName);
    }
    RegCloseKey(key);
}

// A REG_SZ value of these characters, with the terminator unless told otherwise.
RunValue StringValue(const std::wstring& text, bool terminated = true) {
    RunValue value{true, REG_SZ, {}};
    const BYTE* begin = reinterpret_cast<const BYTE*>(text.c_str());
    value.bytes.assign(begin, begin + (text.size() + (terminated ? 1 : 0)) * sizeof(wchar_t));
    return value;
}

class Autostart : public ::testing::Test {
  protected:
    void SetUp() override { saved_ = ReadRunValue(); }
    void TearDown() override { PutRunValue(saved_); }

    static std::wstring Expected(DialogApp& app) { return L"\"" + app.App().ExePath() + L"\" -bg"; }
    static bool WaitForRunValue(const std::wstring& text) {
        return e2e::WaitUntil(
            [&] {
                RunValue value = ReadRunValue();
                return value.present && value.type == REG_SZ && value.Text() == text;
            },
            3000);
    }

    RunValue saved_;
};

TEST_F(Autostart, TickingWritesTheRunValueAndUntickingDeletesIt) {
    PutRunValue(RunValue{});
    DialogApp app;
    ASSERT_NE(app.Start(), nullptr);
    EXPECT_FALSE(app.Dialog().Checked(IDC_START_WITH_WINDOWS));

    ASSERT_TRUE(app.Dialog().Toggle(IDC_START_WITH_WINDOWS));
    EXPECT_TRUE(WaitForRunValue(Expected(app))) << ReadRunValue().Text();
    ASSERT_TRUE(app.Dialog().Toggle(IDC_START_WITH_WINDOWS));
    EXPECT_TRUE(e2e::WaitUntil([] { return !ReadRunValue().present; }, 3000));
    EXPECT_EQ(app.Ini(L"autostart"), L"");
}

// The program was moved, or the path was typed in other letter case: the next start ticks the
// box and makes the value name the running exe exactly.
TEST_F(Autostart, ValueNamingAnotherPathIsRewrittenAtTheNextStart) {
    for (bool otherCase : {false, true}) {
        SCOPED_TRACE(otherCase ? "other case" : "old folder");
        DialogApp app;
        std::wstring stale = L"\"C:\\Old folder\\Velmora.exe\" -bg";
        if (otherCase) {
            stale = Expected(app);
            CharUpperW(stale.data());
            ASSERT_NE(stale, Expected(app));
        }
        PutRunValue(StringValue(stale));
        ASSERT_NE(app.Start(), nullptr);
        EXPECT_TRUE(app.Dialog().Checked(IDC_START_WITH_WINDOWS));
        EXPECT_TRUE(WaitForRunValue(Expected(app))) << ReadRunValue().Text();
    }
}

// Longer than the program reads, with or without its terminator: shown as not registered and
// left as it is.
TEST_F(Autostart, ValueTooLongToReadShowsTheBoxUnticked) {
    for (const RunValue& value : {StringValue(std::wstring(600, L'x')), StringValue(std::wstring(512, L'x'), false)}) {
        SCOPED_TRACE(value.bytes.size());
        PutRunValue(value);
        DialogApp app;
        ASSERT_NE(app.Start(), nullptr);
        EXPECT_FALSE(app.Dialog().Checked(IDC_START_WITH_WINDOWS));
        EXPECT_EQ(ReadRunValue().bytes, value.bytes);
    }
}

// The Run value cannot name an exe deeper than MAX_PATH: ticking the box registers nothing, and
// the box goes back instead of claiming otherwise. Wine's CreateProcess cannot start such an
// exe; its loader can, asked from the Unix side as a user's shell would.
TEST_F(Autostart, TickingABoxThatCannotBeRegisteredLeavesItUnticked) {
    PutRunValue(RunValue{});
    e2e::TempFolder root;
    std::wstring folder = root.Path();
    while (folder.size() < MAX_PATH + 10) {
        folder += L"\\" + std::wstring(40, L'd');
        ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + folder).c_str(), nullptr));
    }
    e2e::VelmoraApp app(L"\\\\?\\" + folder, L"Velmora.exe");
    std::wstring command = L"Z:\\bin\\sh -c \"exec wine '" + folder + L"\\Velmora.exe'\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION shell = {};
    ASSERT_TRUE(
        CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &shell));
    CloseHandle(shell.hThread);
    CloseHandle(shell.hProcess);
    HWND main = nullptr;
    ASSERT_TRUE(e2e::WaitUntil([&] { return (main = FindWindowW(L"Velmora", nullptr)) != nullptr; }, 15000));
    DWORD id = 0;
    GetWindowThreadProcessId(main, &id);
    HWND found = nullptr;
    // Shown once its initialisation is over, which sets every box from the settings.
    ASSERT_TRUE(e2e::WaitUntil(
        [&] { return (found = e2e::FindProcessWindow(id, L"#32770")) != nullptr && IsWindowVisible(found); }, 15000));
    e2e::DialogDriver dialog(found);
    // A box the program can honour stays ticked: the clicks reach the dialog.
    SendMessageW(dialog.Control(IDC_START_IN_TRAY), BM_CLICK, 0, 0);
    EXPECT_TRUE(dialog.Checked(IDC_START_IN_TRAY));
    SendMessageW(dialog.Control(IDC_START_WITH_WINDOWS), BM_CLICK, 0, 0);
    EXPECT_FALSE(dialog.Checked(IDC_START_WITH_WINDOWS));
    EXPECT_FALSE(ReadRunValue().present);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id);
    PostMessageW(main, WM_CLOSE, 0, 0);
    if (process != nullptr && WaitForSingleObject(process, 15000) != WAIT_OBJECT_0) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
    }
    if (process != nullptr) {
        CloseHandle(process);
    }
}

}  // namespace
