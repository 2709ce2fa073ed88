// The settings dialog's header picture as a screen reader finds it: named through the system's
// annotation service, here a stand-in that writes down what it is told (Wine's service is a stub
// that refuses every call, so the name cannot be read back from outside the program).
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>

#include <cstring>
#include <string>
#include <vector>

#include "dialog/dialog_commands.h"
#include "dialog/header_name.h"
#include "dialog/settings_dialog.h"
#include "resource_ids.h"
#include "unit/support/english_pack.h"

namespace {

const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
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

// The dialog repairs a Run value that names another exe: one left for Velmora.exe must
// survive this process.
class RunValueKeeper {
  public:
    RunValueKeeper() {
        kept_ = RegGetValueW(HKEY_CURRENT_USER, kRunKey, L"Velmora", RRF_RT_REG_SZ, nullptr, data_, &bytes_) == 0;
    }
    ~RunValueKeeper() {
        if (kept_) {
            RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Velmora", REG_SZ, data_, bytes_);
        }
    }
    RunValueKeeper(const RunValueKeeper&) = delete;
    RunValueKeeper& operator=(const RunValueKeeper&) = delete;

  private:
    wchar_t data_[1024] = L"";
    DWORD bytes_ = sizeof(data_);
    bool kept_ = false;
};

class HeaderName : public EnglishPackTest {};

}  // namespace

// Nothing is asked of the service until an accessibility client asks the dialog; then the
// picture is a graphic named by the dialog's title, once.
TEST_F(HeaderName, TheFirstAccessibilityQueryNamesTheHeaderPictureAGraphicByTheDialogsTitle) {
    RunValueKeeper runValue;
    INITCOMMONCONTROLSEX controls = {sizeof(controls), 0x5FF};
    InitCommonControlsEx(&controls);
    accPropServicesMaker = MakeRecordingServices;
    HWND dialog = CreateSettingsDialog(nullptr, true);
    ASSERT_NE(dialog, nullptr);
    KillTimer(dialog, kDialogTimerId);  // no engine ticks in a test process
    KillTimer(dialog, kTickTimerId);
    EXPECT_EQ(servicesMade, 0) << "oleacc stays unloaded until a client asks";

    SendMessageW(dialog, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
    SendMessageW(dialog, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_WINDOW));
    EXPECT_EQ(servicesMade, 1);
    wchar_t title[128] = L"";
    GetWindowTextW(dialog, title, 128);
    ASSERT_EQ(services.annotations.size(), 2u);
    for (const Annotation& annotation : services.annotations) {
        EXPECT_EQ(annotation.window, GetDlgItem(dialog, IDC_HEADER_PICTURE));
        EXPECT_EQ(annotation.object, static_cast<DWORD>(OBJID_CLIENT));
        EXPECT_EQ(annotation.child, static_cast<DWORD>(CHILDID_SELF));
    }
    EXPECT_TRUE(SameProperty(services.annotations[0].property, kNameProperty));
    EXPECT_EQ(services.annotations[0].text, title);
    EXPECT_FALSE(services.annotations[0].text.empty());
    EXPECT_TRUE(SameProperty(services.annotations[1].property, kRoleProperty));
    EXPECT_EQ(services.annotations[1].number, ROLE_SYSTEM_GRAPHIC);

    DestroyWindow(dialog);
    settingsDialog = nullptr;
}
