// What the settings dialog says, shown and read out: every language's texts fit its controls
// (the real dialog from the program's template, its texts set for one language after the other
// as the language menu sets them, each text measured in the font its control draws it with),
// and a screen reader finds its header picture named. The name goes through the system's
// annotation service, here a stand-in that writes down what it is told: Wine's service is a
// stub that refuses every call, so the name cannot be read back from outside the program.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>

#include <cstring>
#include <string>
#include <vector>

#include "dialog/dialog_commands.h"
#include "dialog/dialog_texts.h"
#include "dialog/header_name.h"
#include "dialog/settings_dialog.h"
#include "resource_ids.h"
#include "unit/support/english_pack.h"
#include "dialog/run_value_keeper.h"

namespace {

constexpr MSAAPROPID kNameProperty = {0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};
constexpr MSAAPROPID kRoleProperty = {0xcb905ff2, 0x7bd1, 0x4c05, {0xb3, 0xc8, 0xe6, 0xc2, 0x41, 0x36, 0x4d, 0x70}};

struct Annotation {
    HWND window;
    DWORD object;
    DWORD child;
    MSAAPROPID property;
    std::wstring text;
    long number;
};

// Answers as Windows' service does for a window of the caller's own, and notes each property.
class RecordingServices final : public IAccPropServices {
  public:
    std::vector<Annotation> annotations;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = this;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE
    SetHwndProp(HWND window, DWORD object, DWORD child, MSAAPROPID property, VARIANT value) override {
        annotations.push_back({window, object, child, property, L"", V_VT(&value) == VT_I4 ? V_I4(&value) : -1});
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE
    SetHwndPropStr(HWND window, DWORD object, DWORD child, MSAAPROPID property, LPCWSTR text) override {
        annotations.push_back({window, object, child, property, text, 0});
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetPropValue(const BYTE*, DWORD, MSAAPROPID, VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE
    SetPropServer(const BYTE*, DWORD, const MSAAPROPID*, int, IAccPropServer*, AnnoScope) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ClearProps(const BYTE*, DWORD, const MSAAPROPID*, int) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE
    SetHwndPropServer(HWND, DWORD, DWORD, const MSAAPROPID*, int, IAccPropServer*, AnnoScope) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ClearHwndProps(HWND, DWORD, DWORD, const MSAAPROPID*, int) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ComposeHwndIdentityString(HWND, DWORD, DWORD, BYTE**, DWORD*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DecomposeHwndIdentityString(const BYTE*, DWORD, HWND*, DWORD*, DWORD*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetHmenuProp(HMENU, DWORD, MSAAPROPID, VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetHmenuPropStr(HMENU, DWORD, MSAAPROPID, LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE
    SetHmenuPropServer(HMENU, DWORD, const MSAAPROPID*, int, IAccPropServer*, AnnoScope) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ClearHmenuProps(HMENU, DWORD, const MSAAPROPID*, int) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ComposeHmenuIdentityString(HMENU, DWORD, BYTE**, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DecomposeHmenuIdentityString(const BYTE*, DWORD, HMENU*, DWORD*) override {
        return E_NOTIMPL;
    }
};

RecordingServices services;
int servicesMade = 0;

HRESULT MakeRecordingServices(IAccPropServices** made) {
    ++servicesMade;
    *made = &services;
    return S_OK;
}

bool SameProperty(const MSAAPROPID& a, const MSAAPROPID& b) {
    return std::memcmp(&a, &b, sizeof(a)) == 0;
}

// What a control's text may take up: the box of a check box, the indent of a group box's
// title and the frame of a button come off its width.
struct Visible {
    int id;
    int margin;
};

constexpr int kCheckBoxMargin = 18;
constexpr int kGroupMargin = 12;
constexpr Visible kVisibleTexts[] = {
    {IDC_PREFERENCES_GROUP, kGroupMargin},       {IDC_DISABLE, kCheckBoxMargin},
    {IDC_START_WITH_WINDOWS, kCheckBoxMargin},   {IDC_START_IN_TRAY, kCheckBoxMargin},
    {IDC_ALWAYS_ON_TOP, kCheckBoxMargin},        {IDC_HIDE_TASKBAR, kCheckBoxMargin},
    {IDC_SHOW_BY_CLICK_GROUP, kGroupMargin},     {IDC_SHOW_BY_LEFT, kCheckBoxMargin},
    {IDC_SHOW_BY_MIDDLE, kCheckBoxMargin},       {IDC_SHOW_BY_RIGHT, kCheckBoxMargin},
    {IDC_SHOW_BY_CONTEXT_MENU, kCheckBoxMargin}, {IDC_MORE_OPTIONS, 8},
    {IDC_DISABLE_PERMANENTLY, kCheckBoxMargin},  {IDC_TIMER_LABEL, 0},
};

std::wstring TextOf(HWND control) {
    wchar_t text[512] = L"";
    GetWindowTextW(control, text, 512);
    std::wstring result = text;
    result.erase(result.find_last_not_of(L' ') + 1);  // a trailing blank takes no room
    return result;
}

int WidthInItsFont(HWND control, const std::wstring& text) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size = {};
    GetTextExtentPoint32W(screen, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return size.cx;
}

class DialogTexts : public EnglishPackTest {
  protected:
    void SetUp() override {
        EnglishPackTest::SetUp();
        INITCOMMONCONTROLSEX controls = {sizeof(controls), 0x5FF};
        InitCommonControlsEx(&controls);
        accPropServicesMaker = MakeRecordingServices;
        dialog_ = CreateSettingsDialog(nullptr, true);
        ASSERT_NE(dialog_, nullptr);
        KillTimer(dialog_, kDialogTimerId);  // no engine ticks in a test process
        KillTimer(dialog_, kTickTimerId);
    }
    void TearDown() override {
        DestroyWindow(dialog_);
        settingsDialog = nullptr;
        EnglishPackTest::TearDown();
    }

    RunValueKeeper runValue_;
    HWND dialog_ = nullptr;
};

}  // namespace

TEST_F(DialogTexts, EveryLanguagesTextsFitTheirControlsAndTheHeaderPictureIsNamedWhenAScreenReaderAsks) {
    // Nothing is asked of the service until an accessibility client asks the dialog; then the
    // picture is a graphic named by the program's name, once.
    EXPECT_EQ(servicesMade, 0) << "oleacc stays unloaded until a client asks";
    SendMessageW(dialog_, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
    SendMessageW(dialog_, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_WINDOW));
    EXPECT_EQ(servicesMade, 1);
    ASSERT_EQ(services.annotations.size(), 2u);
    for (const Annotation& annotation : services.annotations) {
        EXPECT_EQ(annotation.window, GetDlgItem(dialog_, IDC_HEADER_PICTURE));
        EXPECT_EQ(annotation.object, static_cast<DWORD>(OBJID_CLIENT));
        EXPECT_EQ(annotation.child, static_cast<DWORD>(CHILDID_SELF));
    }
    EXPECT_TRUE(SameProperty(services.annotations[0].property, kNameProperty));
    EXPECT_EQ(services.annotations[0].text, L"Velmora");
    EXPECT_TRUE(SameProperty(services.annotations[1].property, kRoleProperty));
    EXPECT_EQ(services.annotations[1].number, ROLE_SYSTEM_GRAPHIC);

    constexpr int kLanguagesWithTexts = 42;
    for (int language = 0; language < kLanguagesWithTexts; ++language) {
        languagePack.currentLanguage = language;
        ApplyDialogTexts(DialogParts{dialog_, LinkBarWindow(), &DialogMenuBar()});
        for (const Visible& visible : kVisibleTexts) {
            const HWND control = GetDlgItem(dialog_, visible.id);
            RECT client = {};
            GetClientRect(control, &client);
            const std::wstring text = TextOf(control);
            EXPECT_LE(WidthInItsFont(control, text), client.right - visible.margin)
                << "language " << language << ", control " << visible.id << ": \"" << text << "\"";
        }
    }
}
