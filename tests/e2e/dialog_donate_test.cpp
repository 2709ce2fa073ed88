#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "e2e/support/dialog_app.h"
#include "resource_ids.h"

namespace {

using e2e::DialogApp;

constexpr wchar_t kBrowserKey[] = L"http\\shell\\open\\command";

std::wstring ReadDefaultValue(HKEY root, const wchar_t* path) {
    wchar_t value[1024] = L"";
    DWORD size = sizeof(value);
    RegGetValueW(root, path, nullptr, RRF_RT_REG_SZ, nullptr, value, &size);
    return value;
}

void WriteDefaultValue(HKEY root, const wchar_t* path, const std::wstring& value) {
    RegSetKeyValueW(root, path, nullptr, REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// The program opens web pages through the shell's handler of "http": while a test runs, that
// handler writes the address it was given into a file instead of starting a browser.
class DialogDonate : public ::testing::Test {
  protected:
    void SetUp() override {
        browser_ = ReadDefaultValue(HKEY_CLASSES_ROOT, kBrowserKey);
        ASSERT_FALSE(browser_.empty());
        WriteDefaultValue(HKEY_CLASSES_ROOT, kBrowserKey,
                          L"C:\\windows\\system32\\cmd.exe /c echo \"%1\">\"" + RecordPath() + L"\"");
    }
    void TearDown() override { WriteDefaultValue(HKEY_CLASSES_ROOT, kBrowserKey, browser_); }

    std::wstring RecordPath() const { return folder_.File(L"opened.txt"); }
    // The first line of the record once it is there, empty when nothing was opened in time.
    std::string OpenedAddress() const {
        std::string text;
        e2e::WaitUntil(
            [&] {
                HANDLE file = CreateFileW(RecordPath().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          nullptr, OPEN_EXISTING, 0, nullptr);
                if (file == INVALID_HANDLE_VALUE) {
                    return false;
                }
                char buffer[1024] = {};
                DWORD read = 0;
                ReadFile(file, buffer, sizeof(buffer) - 1, &read, nullptr);
                CloseHandle(file);
                text.assign(buffer, read);
                return text.find('\n') != std::string::npos;
            },
            10000);
        return text.substr(0, text.find_first_of("\r\n"));
    }

    e2e::TempFolder folder_;
    std::wstring browser_;
};

TEST_F(DialogDonate, OpensTheInternationalDonationPage) {
    DialogApp app({{L"lng", L"1"}});
    ASSERT_NE(app.Start(), nullptr);
    PostMessageW(app.Dialog().Window(), WM_COMMAND, IDM_DONATE, 0);
    std::string address = OpenedAddress();
    EXPECT_NE(address.find("velmora-soft.com/donate.php?seite=PayPal&Program=Velmora"), std::string::npos) << address;
}

TEST_F(DialogDonate, OpensTheGermanDonationPageInGerman) {
    DialogApp app({{L"lng", L"0"}});
    ASSERT_NE(app.Start(), nullptr);
    PostMessageW(app.Dialog().Window(), WM_COMMAND, IDM_DONATE, 0);
    std::string address = OpenedAddress();
    EXPECT_NE(address.find("velmora-soft.de/donate.php?seite=PayPal&Program=Velmora"), std::string::npos) << address;
}

}  // namespace
