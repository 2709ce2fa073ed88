#include <gtest/gtest.h>

#include <windows.h>

#include "lang/language_menu.h"
#include "unit/support/english_pack.h"

namespace {

class LanguageMenu : public EnglishPackTest {};

const LanguageMenuItem* FindItem(const LanguageMenuModel& model, UINT id) {
    for (int at = 0; at < model.count; ++at) {
        if (model.items[at].id == id) {
            return &model.items[at];
        }
    }
    return nullptr;
}

TEST_F(LanguageMenu, ListsTheFortyTwoNamedLanguagesInTwoColumnsWithTheTranslatorTools) {
    const LanguageMenuModel model = BuildLanguageMenuModel(languagePack, false);
    // 42 languages, the column break, a separator and two tools; the unnamed 43rd is left out.
    ASSERT_EQ(model.count, 46);
    EXPECT_EQ(FindItem(model, kFirstLanguageCommand + 42), nullptr);
    for (int at = 0; at < 23; ++at) {
        EXPECT_EQ(model.items[at].id, kFirstLanguageCommand + static_cast<UINT>(at)) << at;
    }
    const LanguageMenuItem& columnBreak = model.items[23];
    EXPECT_EQ(columnBreak.flags, 0x4460u);
    EXPECT_EQ(columnBreak.id, 0u);
    EXPECT_EQ(columnBreak.text, L"");
    // The second column: the remaining 19 languages, then the tools under a separator.
    for (int at = 24; at < 43; ++at) {
        EXPECT_EQ(model.items[at].id, kFirstLanguageCommand + static_cast<UINT>(at - 1)) << at;
        EXPECT_EQ(model.items[at].flags, static_cast<UINT>(MF_BYPOSITION)) << at;
    }
    EXPECT_EQ(model.items[43].flags, 0x0C00u);
    EXPECT_EQ(model.items[44].id, 1000u);
    EXPECT_EQ(model.items[44].text, L"Translate");
    EXPECT_EQ(model.items[44].flags, static_cast<UINT>(MF_BYPOSITION));
    EXPECT_EQ(model.items[45].id, 1001u);
    EXPECT_EQ(model.items[45].text, L"Load from File (Unicode)");
}

TEST_F(LanguageMenu, ItemsShowNameCompletenessAndInNumberedModeTheIndex) {
    const LanguageMenuModel plain = BuildLanguageMenuModel(languagePack, false);
    const LanguageMenuModel numbered = BuildLanguageMenuModel(languagePack, true);
    EXPECT_EQ(FindItem(plain, 11)->text, L"English\tEnglisch / 100 %");
    EXPECT_EQ(FindItem(numbered, 11)->text, L"1.) English\tEnglisch / 100 %");
    const Text german = Text::Format(L"Deutsch\tGerman / %d %%", languagePack.completeness[0]);
    EXPECT_EQ(FindItem(plain, 10)->text, german);
    EXPECT_EQ(FindItem(numbered, 10)->text, Text(L"0.) ") + german);
    EXPECT_EQ(FindItem(numbered, 51)->text,
              Text::Format(L"41.) Bosnian\tBosanski/Hrvatski/Srpski / %d %%", languagePack.completeness[41]));
}

TEST_F(LanguageMenu, OnlyTheCurrentLanguageIsTickedAndGreyed) {
    languagePack.currentLanguage = 5;
    const LanguageMenuModel model = BuildLanguageMenuModel(languagePack, false);
    for (int at = 0; at < model.count; ++at) {
        const UINT ticked = model.items[at].flags & (MF_CHECKED | MF_GRAYED | MF_DISABLED);
        EXPECT_EQ(ticked, model.items[at].id == 15 ? 0x000Bu : 0u) << at;
    }
    languagePack.currentLanguage = 99;  // an INI value past the pack's languages marks none
    const LanguageMenuModel none = BuildLanguageMenuModel(languagePack, false);
    for (int at = 0; at < none.count; ++at) {
        EXPECT_EQ(none.items[at].flags & MF_CHECKED, 0u) << at;
    }
}

TEST(LanguageMenuSmallPack, BreakFollowsHalfTheLanguagesPlusTwoAndNeverPassesTheEnd) {
    LanguagePack pack;
    static const wchar_t* const kNames[] = {L"Alpha\tA", L"Bravo\tB", L"Charlie\tC",
                                            L"Delta\tD", L"Echo\tE",  L"Foxtrot\tF"};
    pack.languageCount = 6;
    for (int language = 0; language < 6; ++language) {
        pack.languageName[language] = kNames[language];
    }
    const LanguageMenuModel model = BuildLanguageMenuModel(pack, false);
    ASSERT_EQ(model.count, 10);
    EXPECT_EQ(model.items[5].flags, 0x4460u);
    pack.languageCount = 1;
    const LanguageMenuModel single = BuildLanguageMenuModel(pack, false);
    ASSERT_EQ(single.count, 5);
    EXPECT_EQ(single.items[1].flags, 0x4460u);
    EXPECT_EQ(single.items[2].flags, 0x0C00u);
}

}  // namespace
