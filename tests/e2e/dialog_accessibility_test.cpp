// What a screen reader learns of the dialogs: every control a user can reach with Tab, as the
// system's accessibility layer reports it from outside the program, has a name and a role, and
// the name is the text the dialog shows for it.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>

#include <string>

#include "e2e/support/browser_record.h"
#include "e2e/support/dialog_app.h"
#include "resource_ids.h"

namespace {

using e2e::DialogApp;

constexpr int kHotKeyItem = 6;  // of "More options", separators not counted

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring TextOf(HWND window) {
    wchar_t text[256] = L"";
    GetWindowTextW(window, text, 256);
    return text;
}

// As a screen reader reads a control's own text: the first "&" is a key mark, not a letter.
std::wstring WithoutKeyMark(std::wstring text) {
    const size_t mark = text.find(L'&');
    if (mark != std::wstring::npos) {
        text.erase(mark, 1);
    }
    return text;
}

struct Accessible {
    bool found = false;
    std::wstring name;
    long role = 0;
};

Accessible AccessibleOf(HWND control) {
    Accessible result;
    IAccessible* object = nullptr;
    // __uuidof: the import library's IID_IAccessible is not the interface's identifier.
    if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object)))) {
        return result;
    }
    result.found = true;
    VARIANT self;
    VariantInit(&self);
    V_VT(&self) = VT_I4;
    V_I4(&self) = CHILDID_SELF;
    BSTR name = nullptr;
    if (object->get_accName(self, &name) == S_OK && name != nullptr) {
        result.name = name;
        SysFreeString(name);
    }
    VARIANT role;
    VariantInit(&role);
    if (SUCCEEDED(object->get_accRole(self, &role)) && V_VT(&role) == VT_I4) {
        result.role = V_I4(&role);
    }
    object->Release();
    return result;
}

bool IsLinkBar(HWND control) {
    return lstrcmpiW(ClassOf(control).c_str(), TOOLBARCLASSNAMEW) == 0 &&
           SendMessageW(control, TB_COMMANDTOINDEX, IDM_DONATE, 0) >= 0;
}

// The menu bar's toolbars answer to Alt and a letter, the link bar to Tab.
bool ActsOnInput(HWND control) {
    const std::wstring type = ClassOf(control);
    const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
    if (lstrcmpiW(type.c_str(), L"Button") == 0) {
        return (style & BS_TYPEMASK) != BS_GROUPBOX;
    }
    if (IsLinkBar(control)) {
        return true;
    }
    return lstrcmpiW(type.c_str(), L"msctls_trackbar32") == 0 || lstrcmpiW(type.c_str(), L"msctls_hotkey32") == 0;
}

// Walks the visible controls of `dialog`; `shownName` says which text the dialog shows for a
// control without a text of its own. Returns how many controls take the focus.
template <typename ShownName>
int ExpectEveryFocusableControlNamed(HWND dialog, const char* which, ShownName shownName) {
    int focusable = 0;
    for (HWND control = GetWindow(dialog, GW_CHILD); control != nullptr; control = GetWindow(control, GW_HWNDNEXT)) {
        if (!IsWindowVisible(control)) {
            continue;
        }
        const int id = GetDlgCtrlID(control);
        const bool tabStop = (GetWindowLongPtrW(control, GWL_STYLE) & WS_TABSTOP) != 0;
        if (ActsOnInput(control)) {
            EXPECT_TRUE(tabStop) << which << ": Tab passes control " << id << " by";
        }
        if (!tabStop) {
            continue;
        }
        ++focusable;
        if (IsLinkBar(control)) {
            continue;  // Windows' toolbar proxy names each button by its text; Wine's shows none
        }
        const Accessible accessible = AccessibleOf(control);
        EXPECT_TRUE(accessible.found) << which << ", control " << id;
        EXPECT_NE(accessible.role, 0) << which << ", control " << id;
        EXPECT_FALSE(accessible.name.empty()) << which << ", control " << id;
        const std::wstring own = TextOf(control);
        const bool showsItsText = lstrcmpiW(ClassOf(control).c_str(), L"Button") == 0;
        EXPECT_EQ(accessible.name, showsItsText ? WithoutKeyMark(own) : shownName(id)) << which << ", control " << id;
    }
    return focusable;
}

void ExpectSettingsDialogNamed(const e2e::DialogDriver& dialog, const char* which) {
    const std::wstring timer = dialog.Text(IDC_TIMER_LABEL);
    ASSERT_FALSE(timer.empty());
    const int focusable = ExpectEveryFocusableControlNamed(dialog.Window(), which, [&](int) { return timer; });
    EXPECT_EQ(focusable, 13) << which << ": ten check boxes, the button, the slider and the link bar";
    EXPECT_EQ(AccessibleOf(dialog.Control(IDC_COUNTDOWN)).name, timer) << which << ": the countdown";
}

class DialogAccessibility : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
    void TearDown() override { CoUninitialize(); }
};

// A dialog of the program other than the settings dialog, once it shows.
HWND WaitForOtherDialog(DWORD processId, HWND settings) {
    HWND found = nullptr;
    e2e::WaitUntil(
        [&] {
            for (HWND window = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); window != nullptr;
                 window = FindWindowExW(nullptr, window, L"#32770", nullptr)) {
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                if (owner == processId && window != settings && IsWindowVisible(window)) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        5000);
    return found;
}

// The window with the keyboard focus in the thread of `window`.
HWND FocusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

HWND LinkBarOf(HWND dialog) {
    HWND bar = nullptr;
    while ((bar = FindWindowExW(dialog, bar, TOOLBARCLASSNAMEW, nullptr)) != nullptr && !IsLinkBar(bar)) {
    }
    return bar;
}

}  // namespace

// The link bar is reached with Tab like any control: its focused button shows hot, the arrow
// keys move along, and Enter or Space opens the page of the focused button.
TEST_F(DialogAccessibility, EveryControlThatTakesTheFocusIsNamedByItsShownTextInEnglish) {
    e2e::BrowserRecord browser;
    ASSERT_TRUE(browser.Installed());
    DialogApp app({{L"lng", L"1"}});
    ASSERT_NE(app.Start(), nullptr);
    ExpectSettingsDialogNamed(app.Dialog(), "English");

    const HWND dialog = app.Dialog().Window();
    const HWND linkBar = LinkBarOf(dialog);
    ASSERT_NE(linkBar, nullptr);
    app.Dialog().Activate();
    for (int press = 0; press < 16 && FocusOf(dialog) != linkBar; ++press) {
        const HWND focus = FocusOf(dialog);
        e2e::PressKeys({VK_SHIFT, VK_TAB}, 50);
        e2e::WaitUntil([&] { return FocusOf(dialog) != focus; }, 2000);
    }
    ASSERT_EQ(FocusOf(dialog), linkBar) << "Tab never reaches the link bar";
    EXPECT_EQ(SendMessageW(linkBar, TB_GETHOTITEM, 0, 0), 0) << "the focused button shows";
    e2e::PressKeys({VK_RETURN}, 50);
    EXPECT_EQ(browser.NextAddress(), "\"http://www.velmora-soft.com/?seite=Microsoft/Velmora/Thanks\"");
    EXPECT_TRUE(app.Dialog().Visible());
    app.Dialog().Activate();  // from the browser, back to the bar's first button
    ASSERT_TRUE(e2e::WaitUntil([&] { return FocusOf(dialog) == linkBar; }, 2000));
    e2e::PressKeys({VK_RIGHT}, 50);
    EXPECT_TRUE(e2e::WaitUntil([&] { return SendMessageW(linkBar, TB_GETHOTITEM, 0, 0) == 1; }, 2000));
    e2e::PressKeys({VK_SPACE}, 50);
    EXPECT_NE(browser.NextAddress().find("donate.php"), std::string::npos);
}

TEST_F(DialogAccessibility, BothDialogsNameTheirControlsInGerman) {
    DialogApp app({{L"lng", L"0"}});
    ASSERT_NE(app.Start(), nullptr);
    ASSERT_EQ(app.Dialog().Text(IDC_DISABLE), L"Deaktivieren");
    ExpectSettingsDialogNamed(app.Dialog(), "German");

    ASSERT_TRUE(app.Dialog().ChooseMoreOption(kHotKeyItem));
    HWND hotKey = WaitForOtherDialog(app.App().Running().Id(), app.Dialog().Window());
    ASSERT_NE(hotKey, nullptr);
    const std::wstring title = TextOf(hotKey);
    EXPECT_EQ(ExpectEveryFocusableControlNamed(hotKey, "hot-key dialog", [&](int) { return title; }), 3);
    SendMessageW(hotKey, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindow(hotKey) == 0; }, 5000));
}
