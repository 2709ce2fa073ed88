#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "e2e/support/browser_record.h"
#include "e2e/support/dialog_app.h"
#include "resource_ids.h"

namespace {

using e2e::DialogApp;

constexpr wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRunValue[] = L"Velmora";

bool RunValueExists() {
    return RegGetValueW(HKEY_CURRENT_USER, kRunKey, kRunValue, RRF_RT_REG_SZ, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}

// A Run value for the program to find, and none left behind by the test.
class RunValue {
  public:
    explicit RunValue(const std::wstring& exe) {
        std::wstring data = L"\"" + exe + L"\" -bg";
        RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, kRunValue, REG_SZ, data.c_str(),
                        static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    }
    ~RunValue() { RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, kRunValue); }
    RunValue(const RunValue&) = delete;
    RunValue& operator=(const RunValue&) = delete;
};

struct BoxSearch {
    DWORD processId;
    HWND dialog;
    HWND found;
};

BOOL CALLBACK MatchUninstallBox(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<BoxSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t className[32] = L"";
    wchar_t title[64] = L"";
    GetClassNameW(window, className, 32);
    GetWindowTextW(window, title, 64);
    if (owner == search->processId && window != search->dialog && wcscmp(className, L"#32770") == 0 &&
        wcscmp(title, L"Uninstall") == 0 && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// Asks the program to uninstall and waits for its question; null when none came in time.
HWND AskToUninstall(DialogApp& app) {
    PostMessageW(app.Dialog().Window(), WM_COMMAND, IDM_UNINSTALL, 0);
    BoxSearch search{app.App().Running().Id(), app.Dialog().Window(), nullptr};
    e2e::WaitUntil(
        [&] {
            EnumWindows(MatchUninstallBox, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        15000);
    return search.found;
}

std::wstring TempFile(const wchar_t* name) {
    wchar_t temp[MAX_PATH + 1] = L"";
    GetTempPathW(MAX_PATH + 1, temp);
    return std::wstring(temp) + name;
}

// The link bar's donate button opens the donation page on the site of the language.
void ExpectDonationPage(DialogApp& app, e2e::BrowserRecord& browser, const std::string& site) {
    PostMessageW(app.Dialog().Window(), WM_COMMAND, IDM_DONATE, 0);
    const std::string address = browser.NextAddress();
    EXPECT_NE(address.find(site + "/donate.php?seite=PayPal&Program=Velmora"), std::string::npos) << address;
}

// Wine reports no time zone, so every site but the German one is the .com site. The donation
// page goes by the language too.
TEST(DialogProgramMenu, WebCommandsOpenTheirPagesOnTheSiteOfTheLanguage) {
    e2e::BrowserRecord browser;
    ASSERT_TRUE(browser.Installed());
    struct Page {
        UINT command;
        const char* address;
    };
    const Page english[] = {
        {IDC_FAQ, "\"http://www.velmora-soft.com/?seite=faq-Velmora\""},
        {IDM_NEWEST_VERSION, "\"http://www.velmora-soft.com/?seite=Microsoft/Velmora\""},
        {IDM_HISTORY, "\"http://www.velmora-soft.com/?seite=Microsoft/Velmora/History\""},
        {IDM_LICENSE, "\"http://www.velmora-soft.com/?seite=Microsoft/Velmora/Eula\""},
        {IDC_LINK_BAR_PLACE, "\"http://www.velmora-soft.com/?seite=Microsoft/Velmora/Thanks\""},
    };
    const Page german[] = {
        {IDM_HISTORY, "\"http://www.velmora-soft.de/?seite=Microsoft/Velmora/History\""},
        {IDM_LICENSE, "\"http://www.velmora-soft.de/?seite=Microsoft/Velmora/Lizenz\""},
        {IDC_LINK_BAR_PLACE, "\"http://www.velmora-soft.de/?seite=Microsoft/Velmora/Danke\""},
    };
    {
        DialogApp app({{L"lng", L"1"}});
        ASSERT_NE(app.Start(), nullptr);
        for (const Page& page : english) {
            PostMessageW(app.Dialog().Window(), WM_COMMAND, page.command, 0);
            EXPECT_EQ(browser.NextAddress(), page.address) << "command " << page.command;
        }
        ExpectDonationPage(app, browser, "velmora-soft.com");
    }
    DialogApp app({{L"lng", L"0"}});
    ASSERT_NE(app.Start(), nullptr);
    for (const Page& page : german) {
        PostMessageW(app.Dialog().Window(), WM_COMMAND, page.command, 0);
        EXPECT_EQ(browser.NextAddress(), page.address) << "command " << page.command;
    }
    ExpectDonationPage(app, browser, "velmora-soft.de");
}

TEST(DialogProgramMenu, UninstallAnsweredNoOrCancelChangesNothing) {
    std::wstring batch = TempFile(L"Velmora.exe_selfdestruct.bat");
    DeleteFileW(batch.c_str());  // left by an interrupted run
    DialogApp app({{L"lng", L"1"}});
    RunValue run(app.App().ExePath());
    ASSERT_NE(app.Start(), nullptr);
    for (int answer : {IDNO, IDCANCEL}) {
        HWND box = AskToUninstall(app);
        ASSERT_NE(box, nullptr);
        wchar_t question[64] = L"";
        GetDlgItemTextW(box, 0xFFFF, question, 64);
        EXPECT_STREQ(question, L"Are you sure?");
        PostMessageW(box, WM_COMMAND, answer, 0);
        EXPECT_TRUE(e2e::WaitUntil([&] { return !IsWindow(box); }, 10000));
    }
    EXPECT_TRUE(app.App().Running().Running());
    EXPECT_TRUE(IsWindow(app.Dialog().Window()));
    EXPECT_TRUE(RunValueExists());
    EXPECT_TRUE(e2e::FileExists(app.App().ExePath()));
    EXPECT_TRUE(e2e::FileExists(app.App().IniPath()));
    EXPECT_FALSE(e2e::FileExists(batch));
}

TEST(DialogProgramMenu, UninstallAnsweredYesLeavesNothingBehindAndExits) {
    e2e::BrowserRecord browser;
    ASSERT_TRUE(browser.Installed());
    DialogApp app({{L"lng", L"1"}});
    RunValue run(app.App().ExePath());
    ASSERT_NE(app.Start(), nullptr);
    HWND box = AskToUninstall(app);
    ASSERT_NE(box, nullptr);
    PostMessageW(box, WM_COMMAND, IDYES, 0);
    EXPECT_EQ(app.App().Running().WaitForExit(15000), 0);
    EXPECT_FALSE(RunValueExists());
    EXPECT_EQ(browser.NextAddress(), "\"http://www.velmora-soft.com?seite=Microsoft/Velmora/Uninstall\"");
    // The batch deletes the exe once it has ended, then the INI file and itself.
    std::wstring batch = TempFile(L"Velmora.exe_selfdestruct.bat");
    EXPECT_TRUE(e2e::WaitUntil(
        [&] {
            return !e2e::FileExists(app.App().ExePath()) && !e2e::FileExists(app.App().IniPath()) &&
                   !e2e::FileExists(batch);
        },
        20000))
        << "exe " << e2e::FileExists(app.App().ExePath()) << ", ini " << e2e::FileExists(app.App().IniPath())
        << ", batch " << e2e::FileExists(batch);
}

}  // namespace
