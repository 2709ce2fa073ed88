#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "lang/default_language.h"
#include "lang/language_pack.h"
#include "settings/ini_store.h"
#include "settings/settings.h"
#include "settings/writable_settings.h"

TEST(DefaultLanguage, FollowsTheWindowsUserLanguage) {
    EXPECT_EQ(DefaultLanguageFor(0x0407), 0);   // German
    EXPECT_EQ(DefaultLanguageFor(0x0807), 0);   // German, Switzerland
    EXPECT_EQ(DefaultLanguageFor(0x0409), 1);   // English
    EXPECT_EQ(DefaultLanguageFor(0x0416), 16);  // Portuguese, Brazil
    EXPECT_EQ(DefaultLanguageFor(0x0816), 3);   // Portuguese, Portugal
    EXPECT_EQ(DefaultLanguageFor(0x0404), 9);   // Chinese, Taiwan (traditional)
    EXPECT_EQ(DefaultLanguageFor(0x0804), 11);  // Chinese, PRC
    EXPECT_EQ(DefaultLanguageFor(0x0C04), 11);  // Chinese, Hong Kong: only sublanguage 1 counts as traditional
    EXPECT_EQ(DefaultLanguageFor(0x200A), 34);  // Spanish, Venezuela
    EXPECT_EQ(DefaultLanguageFor(0x0C0A), 29);  // Spanish, Spain
    EXPECT_EQ(DefaultLanguageFor(0x080A), 29);  // Spanish, Mexico
    EXPECT_EQ(DefaultLanguageFor(0x0412), 28);  // Korean
    EXPECT_EQ(DefaultLanguageFor(0x0436), 1);   // Afrikaans has no translation
    EXPECT_EQ(DefaultLanguageFor(0x041A), 14);  // Croatian
    EXPECT_EQ(DefaultLanguageFor(0x141A), 14);  // Bosnian shares the primary language
    EXPECT_EQ(DefaultLanguageFor(0x0401), 26);  // Arabic
    EXPECT_EQ(DefaultLanguageFor(0x0464), 39);  // Filipino
    EXPECT_EQ(DefaultLanguageFor(0x0452), 36);  // Welsh
    EXPECT_EQ(DefaultLanguageFor(0x0000), 1);
    EXPECT_EQ(DefaultLanguageFor(0xFFFF), 1);
}

namespace {

// Works on the unit-test exe's own INI file and puts everything back afterwards.
class IniLanguage : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = std::make_unique<LanguagePack>(languagePack);
        savedLng_ = settings.lng;
        LocateSettingsFile(true);
        ASSERT_EQ(LoadLanguagePack(), 1);
    }
    void TearDown() override {
        WritePrivateProfileStringW(L"Program", L"lng", nullptr, SettingsFilePath());
        WritableSettings().lng = savedLng_;
        languagePack = *saved_;
    }

    std::unique_ptr<LanguagePack> saved_;
    int savedLng_ = 0;
};

}  // namespace

TEST_F(IniLanguage, WithoutTheKeyTheWindowsLanguageDecides) {
    WritePrivateProfileStringW(L"Program", L"lng", nullptr, SettingsFilePath());
    SelectDefaultLanguage();
    EXPECT_EQ(languagePack.currentLanguage, DefaultLanguageFor(GetUserDefaultLangID()));
    EXPECT_EQ(settings.lng, languagePack.currentLanguage);
}

TEST_F(IniLanguage, KeyOverridesTheWindowsLanguage) {
    WriteIntSetting(L"lng", 5);
    SelectDefaultLanguage();
    EXPECT_EQ(languagePack.currentLanguage, 5);
    EXPECT_STREQ(GetText(223), L"Sei sicuro?");
}

TEST_F(IniLanguage, KeyOutsideTheNamedLanguagesShowsEnglish) {
    for (int value : {42, 99}) {
        WriteIntSetting(L"lng", value);
        SelectDefaultLanguage();
        EXPECT_EQ(languagePack.currentLanguage, value);
        EXPECT_STREQ(GetText(223), L"Are you sure?");
    }
}
