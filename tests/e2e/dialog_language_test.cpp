#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "e2e/support/dialog_app.h"
#include "resource_ids.h"

namespace {

using e2e::DialogApp;

// The German texts of the controls a user sees first.
void ExpectGerman(const e2e::DialogDriver& dialog) {
    EXPECT_EQ(dialog.Text(IDC_PREFERENCES_GROUP), L"Einstellungen");
    EXPECT_EQ(dialog.Text(IDC_DISABLE), L"Deaktivieren");
    EXPECT_EQ(dialog.Text(IDC_START_WITH_WINDOWS), L"Mit Windows starten");
    EXPECT_EQ(dialog.Text(IDC_SHOW_BY_CLICK_GROUP), L"Anzeigen per Desktop-Klick:");
    EXPECT_EQ(dialog.Text(IDC_SHOW_BY_LEFT), L"Linke Maustaste ");
    EXPECT_EQ(dialog.Text(IDC_MORE_OPTIONS), L"Weitere Optionen");
    EXPECT_EQ(dialog.Text(IDC_DISABLE_PERMANENTLY), L"Desktopsymbole dauerhaft ausblenden");
    EXPECT_EQ(dialog.Text(IDC_HIDE_AT_START), L"Symbole beim Programmstart ausblenden");
    // The product name and version, and the system's version, are the same in every language.
    EXPECT_EQ(dialog.Title().rfind(L"Velmora 5.41 - OS:", 0), 0u) << dialog.Title();
}

TEST(DialogLanguage, LanguageZeroInTheIniFileShowsGermanTexts) {
    DialogApp app({{L"lng", L"0"}});
    ASSERT_NE(app.Start(), nullptr);
    ExpectGerman(app.Dialog());
}

// ctest runs the Language suites under LANG=de_DE.UTF-8.
TEST(LanguageDialog, GermanUserLanguageShowsGermanTexts) {
    ASSERT_EQ(PRIMARYLANGID(GetUserDefaultLangID()), LANG_GERMAN) << "run through ctest";
    DialogApp app;
    ASSERT_NE(app.Start(), nullptr);
    ExpectGerman(app.Dialog());
}

// What a control's text may take up: the box of a check box, the indent of a group box's
// title and the frame of a button come off its width.
struct Visible {
    int id;
    int margin;
    bool dialogFont;  // keeps the template's font instead of the link bar's
};

constexpr int kCheckBoxMargin = 18;
constexpr int kGroupMargin = 12;
constexpr Visible kVisibleTexts[] = {
    {IDC_PREFERENCES_GROUP, kGroupMargin, false},      {IDC_DISABLE, kCheckBoxMargin, false},
    {IDC_START_WITH_WINDOWS, kCheckBoxMargin, false},  {IDC_START_IN_TRAY, kCheckBoxMargin, false},
    {IDC_ALWAYS_ON_TOP, kCheckBoxMargin, false},       {IDC_HIDE_TASKBAR, kCheckBoxMargin, false},
    {IDC_SHOW_BY_CLICK_GROUP, kGroupMargin, false},    {IDC_SHOW_BY_LEFT, kCheckBoxMargin, false},
    {IDC_SHOW_BY_MIDDLE, kCheckBoxMargin, false},      {IDC_SHOW_BY_RIGHT, kCheckBoxMargin, false},
    {IDC_SHOW_BY_CONTEXT_MENU, kCheckBoxMargin, true}, {IDC_MORE_OPTIONS, 8, false},
    {IDC_DISABLE_PERMANENTLY, kCheckBoxMargin, false}, {IDC_TIMER_LABEL, 0, false},
};

// The fonts the dialog gives its controls, made again in this process.
class ControlFonts {
  public:
    ControlFonts() {
        LOGFONTW logFont = {};
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(logFont), &logFont);
        logFont.lfItalic = 0;
        logFont.lfCharSet = DEFAULT_CHARSET;
        logFont.lfQuality = PROOF_QUALITY;
        linkFont_ = CreateFontIndirectW(&logFont);
        dialogFont_ = CreateFontW(-MulDiv(8, GetDeviceCaps(screen_, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, 0, 0, 0,
                                  DEFAULT_CHARSET, 0, 0, 0, 0, L"MS Sans Serif");
    }
    ~ControlFonts() {
        DeleteObject(linkFont_);
        DeleteObject(dialogFont_);
        ReleaseDC(nullptr, screen_);
    }
    ControlFonts(const ControlFonts&) = delete;
    ControlFonts& operator=(const ControlFonts&) = delete;

    int Width(const std::wstring& text, bool dialogFont) const {
        HGDIOBJ previous = SelectObject(screen_, dialogFont ? dialogFont_ : linkFont_);
        SIZE size = {};
        GetTextExtentPoint32W(screen_, text.c_str(), static_cast<int>(text.size()), &size);
        SelectObject(screen_, previous);
        return size.cx;
    }

  private:
    HDC screen_ = GetDC(nullptr);
    HFONT linkFont_ = nullptr;
    HFONT dialogFont_ = nullptr;
};

TEST(DialogLanguage, EveryLanguagesTextsFitTheirControls) {
    constexpr int kLanguagesWithTexts = 42;
    ControlFonts fonts;
    DialogApp app;
    for (int language = 0; language < kLanguagesWithTexts; ++language) {
        e2e::WriteIniValue(app.App().IniPath(), L"lng", std::to_wstring(language).c_str());
        ASSERT_NE(language == 0 ? app.Start() : app.Restart(), nullptr) << "language " << language;
        for (const Visible& control : kVisibleTexts) {
            RECT client = {};
            GetClientRect(app.Dialog().Control(control.id), &client);
            std::wstring text = app.Dialog().Text(control.id);
            text.erase(text.find_last_not_of(L' ') + 1);  // a trailing blank takes no room
            EXPECT_LE(fonts.Width(text, control.dialogFont), client.right - control.margin)
                << "language " << language << ", control " << control.id << ": \"" << text << "\"";
        }
    }
}

}  // namespace
