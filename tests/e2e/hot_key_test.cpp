// The hot key as the user meets it: real key presses hide and show the icons, Disable frees
// the key, the key survives a restart, and a key another program holds is reported, not saved.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cwchar>
#include <string>

#include "e2e/support/desktop_standin.h"
#include "e2e/support/dialog_app.h"
#include "resource_ids.h"

namespace {

using e2e::DesktopStandin;
using e2e::DialogApp;

constexpr int kCtrlAltH = MAKEWORD('H', HOTKEYF_CONTROL | HOTKEYF_ALT);
constexpr int kCtrlAltJ = MAKEWORD('J', HOTKEYF_CONTROL | HOTKEYF_ALT);
constexpr int kCtrlAltK = MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_ALT);
constexpr int kHotKeyItem = 6;  // of "More options", separators not counted
constexpr int kProbeId = 5;

// Whether some program holds Ctrl+Alt+key: this test process tries to take it and lets go. A
// probe while the program registers its key could take the key from it for the run, so the
// program is let finish its start (DialogDriver::CatchUp) first.
bool HeldElsewhere(UINT key) {
    const bool free = RegisterHotKey(nullptr, kProbeId, MOD_CONTROL | MOD_ALT, key) != 0;
    UnregisterHotKey(nullptr, kProbeId);
    return !free;
}

void PressCtrlAlt(WORD key) {
    e2e::PressKeys({VK_CONTROL, VK_MENU, key});
}

// A visible dialog of the program other than the settings dialog.
HWND FindOtherDialog(DWORD processId, HWND settings) {
    struct Search {
        DWORD processId;
        HWND settings;
        HWND found;
    } search{processId, settings, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t className[16] = {};
            GetClassNameW(window, className, 16);
            if (owner == s->processId && window != s->settings && IsWindowVisible(window) &&
                lstrcmpW(className, L"#32770") == 0) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class HotKey : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(standin_.Start());
        ASSERT_TRUE(e2e::MoveCursor(1100, 300));
    }
    void TearDown() override { standin_.Stop(); }

    static bool WaitForIcons(bool visible) {
        return e2e::WaitUntil([&] { return DesktopStandin::IconsVisible() == visible; }, 5000);
    }

    DesktopStandin standin_;
};

TEST_F(HotKey, HidesAndShowsTheIconsIsFreedByDisableAndSurvivesARestart) {
    DialogApp app({{L"hotkey", L"1608"}, {L"auto_hide_icons_sec", L"3600"}});
    ASSERT_NE(app.Start(), nullptr);
    ASSERT_TRUE(app.Dialog().CatchUp());
    ASSERT_TRUE(e2e::WaitUntil([] { return HeldElsewhere('H'); }, 5000));
    ASSERT_TRUE(WaitForIcons(true));

    PressCtrlAlt('H');
    EXPECT_TRUE(WaitForIcons(false));
    PressCtrlAlt('H');
    EXPECT_TRUE(WaitForIcons(true));

    ASSERT_TRUE(app.Dialog().Toggle(IDC_DISABLE));
    EXPECT_TRUE(e2e::WaitUntil([] { return !HeldElsewhere('H'); }, 5000)) << "a disabled program holds no key";
    PressCtrlAlt('H');
    EXPECT_TRUE(app.Dialog().CatchUp());
    EXPECT_TRUE(DesktopStandin::IconsVisible());
    ASSERT_TRUE(app.Dialog().Toggle(IDC_DISABLE));
    ASSERT_TRUE(e2e::WaitUntil([] { return HeldElsewhere('H'); }, 5000));

    ASSERT_NE(app.Restart(), nullptr);
    ASSERT_TRUE(app.Dialog().CatchUp());
    ASSERT_TRUE(e2e::WaitUntil([] { return HeldElsewhere('H'); }, 5000));
    PressCtrlAlt('H');
    EXPECT_TRUE(WaitForIcons(false));
    PressCtrlAlt('H');
    EXPECT_TRUE(WaitForIcons(true));
}

TEST_F(HotKey, TheDialogShowsTheSavedKeyRefusesATakenOneAndSavesAFreeOne) {
    ASSERT_TRUE(RegisterHotKey(nullptr, kProbeId + 1, MOD_CONTROL | MOD_ALT, 'J'));  // another program's key
    DialogApp app({{L"hotkey", L"1608"}});
    ASSERT_NE(app.Start(), nullptr);
    const DWORD process = app.App().Running().Id();
    ASSERT_TRUE(app.Dialog().ChooseMoreOption(kHotKeyItem));
    HWND dialog = nullptr;
    ASSERT_TRUE(
        e2e::WaitUntil([&] { return (dialog = FindOtherDialog(process, app.Dialog().Window())) != nullptr; }, 5000));
    HWND control = GetDlgItem(dialog, IDC_HOTKEY_CONTROL);
    EXPECT_EQ(LOWORD(SendMessageW(control, HKM_GETHOTKEY, 0, 0)), kCtrlAltH);

    SendMessageW(control, HKM_SETHOTKEY, kCtrlAltJ, 0);
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    wchar_t message[256] = L"";
    EXPECT_TRUE(e2e::WaitUntil([&] { return GetDlgItemTextW(dialog, IDC_HOTKEY_MESSAGE, message, 256) > 0; }, 5000));
    EXPECT_TRUE(IsWindow(dialog)) << "the dialog stays open for another choice";
    EXPECT_EQ(app.Ini(L"hotkey"), L"1608");
    EXPECT_TRUE(HeldElsewhere('H')) << "the old key still works";
    UnregisterHotKey(nullptr, kProbeId + 1);

    SendMessageW(control, HKM_SETHOTKEY, kCtrlAltK, 0);
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindow(dialog) == 0; }, 5000));
    EXPECT_EQ(app.Ini(L"hotkey"), std::to_wstring(kCtrlAltK));
    EXPECT_TRUE(HeldElsewhere('K'));
    EXPECT_FALSE(HeldElsewhere('H'));
}

// Whether some program holds the key with these modifiers: the test process tries to take it.
bool HeldElsewhere(UINT modifiers, UINT key) {
    const bool free = RegisterHotKey(nullptr, kProbeId, modifiers, key) != 0;
    UnregisterHotKey(nullptr, kProbeId);
    return !free;
}

// The user starts the program while another program holds its key: the dialog says so when
// opened, and once the other program lets go, OK with the same key makes it work.
TEST_F(HotKey, AKeyHeldElsewhereAtStartIsReportedAndTakenByOkOnceFree) {
    ASSERT_TRUE(RegisterHotKey(nullptr, kProbeId + 2, MOD_CONTROL | MOD_ALT, 'H'));  // another program's key
    DialogApp app({{L"hotkey", L"1608"}, {L"auto_hide_icons_sec", L"3600"}});
    ASSERT_NE(app.Start(), nullptr);
    ASSERT_TRUE(app.Dialog().CatchUp());
    const DWORD process = app.App().Running().Id();
    ASSERT_TRUE(app.Dialog().ChooseMoreOption(kHotKeyItem));
    HWND dialog = nullptr;
    ASSERT_TRUE(
        e2e::WaitUntil([&] { return (dialog = FindOtherDialog(process, app.Dialog().Window())) != nullptr; }, 5000));
    wchar_t message[256] = L"";
    EXPECT_TRUE(e2e::WaitUntil([&] { return GetDlgItemTextW(dialog, IDC_HOTKEY_MESSAGE, message, 256) > 0; }, 5000))
        << "the dialog does not say that the key is held elsewhere";

    UnregisterHotKey(nullptr, kProbeId + 2);
    EXPECT_EQ(LOWORD(SendMessageW(GetDlgItem(dialog, IDC_HOTKEY_CONTROL), HKM_GETHOTKEY, 0, 0)), kCtrlAltH);
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindow(dialog) == 0; }, 5000));
    ASSERT_TRUE(WaitForIcons(true));
    PressCtrlAlt('H');
    EXPECT_TRUE(WaitForIcons(false));
    PressCtrlAlt('H');
    EXPECT_TRUE(WaitForIcons(true));
}

// An INI value the dialog could not have saved is no key: nothing its bits say is registered.
TEST_F(HotKey, IniValuesNoDialogCouldSaveRegisterNoKey) {
    struct Case {
        const wchar_t* value;
        UINT modifiers;  // what the bits would register
        UINT key;
    };
    const Case cases[] = {{L"-1", MOD_SHIFT | MOD_CONTROL | MOD_ALT, 0xFF},
                          {L"65535", MOD_SHIFT | MOD_CONTROL | MOD_ALT, 0xFF},
                          {L"2147483647", MOD_SHIFT | MOD_CONTROL | MOD_ALT, 0xFF},
                          {L"256", MOD_SHIFT, 0}};
    DialogApp app;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.value, c.value + wcslen(c.value)));
        e2e::WriteIniValue(app.App().IniPath(), L"hotkey", c.value);
        ASSERT_NE(app.App().Running().Running() ? app.Restart() : app.Start(), nullptr);
        ASSERT_TRUE(app.Dialog().CatchUp());
        EXPECT_FALSE(HeldElsewhere(c.modifiers, c.key));
    }
}

}  // namespace
