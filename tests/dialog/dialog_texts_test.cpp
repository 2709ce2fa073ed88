// Every language's texts fit the settings dialog's controls: the real dialog from the program's
// template, its texts set for one language after the other as the language menu sets them,
// each text measured in the font its control draws it with.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "dialog/dialog_commands.h"
#include "dialog/dialog_texts.h"
#include "dialog/settings_dialog.h"
#include "resource_ids.h"
#include "unit/support/english_pack.h"

namespace {

const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

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

// What a control's text may take up: the box of a check box, the indent of a group box's
// title and the frame of a button come off its width.
struct Visible {
    int id;
    int margin;
};

constexpr int kCheckBoxMargin = 18;
constexpr int kGroupMargin = 12;
constexpr Visible kVisibleTexts[] = {
    {IDC_PREFERENCES_GROUP, kGroupMargin},      {IDC_DISABLE, kCheckBoxMargin},
    {IDC_START_WITH_WINDOWS, kCheckBoxMargin},  {IDC_START_IN_TRAY, kCheckBoxMargin},
    {IDC_ALWAYS_ON_TOP, kCheckBoxMargin},       {IDC_HIDE_TASKBAR, kCheckBoxMargin},
    {IDC_SHOW_BY_CLICK_GROUP, kGroupMargin},    {IDC_SHOW_BY_LEFT, kCheckBoxMargin},
    {IDC_SHOW_BY_MIDDLE, kCheckBoxMargin},      {IDC_SHOW_BY_RIGHT, kCheckBoxMargin},
    {IDC_SHOW_BY_CONTEXT_MENU, kCheckBoxMargin}, {IDC_MORE_OPTIONS, 8},
    {IDC_DISABLE_PERMANENTLY, kCheckBoxMargin}, {IDC_TIMER_LABEL, 0},
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

TEST_F(DialogTexts, EveryLanguagesTextsFitTheirControls) {
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
