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

// Whether every language's texts fit their controls is checked on the real dialog in a test
// process (tests/dialog/dialog_texts_test.cpp), without a program start per language.

}  // namespace
