#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "lang/language_menu.h"
#include "unit/support/english_pack.h"
#include "unit/support/read_menu_item.h"

namespace {

class LanguageMenu : public EnglishPackTest {};

// The menu as the program builds it, read by a host that reads it instead of showing it and
// chooses nothing.
class ReadingHost final : public LanguageHost {
  public:
    HWND Window() const override { return nullptr; }
    UINT TrackLanguagePopup(HMENU menu) override {
        for (int at = 0; at < GetMenuItemCount(menu); ++at) {
            shownItems.push_back(ReadMenuItem(menu, at));
        }
        return 0;
    }
    void Retext() override {}

    std::vector<MenuItemView> shownItems;
};

std::vector<MenuItemView> BuiltLanguageMenu() {
    ReadingHost host;
    ShowLanguageMenu(host);
    return host.shownItems;
}

// Where the model asks for a new column with a bar before the item.
bool StartsAColumn(const LanguageMenuItem& item) {
    return (item.flags & MF_MENUBARBREAK) != 0;
}

const LanguageMenuItem* FindItem(const LanguageMenuModel& model, UINT id) {
    for (int at = 0; at < model.count; ++at) {
        if (model.items[at].id == id) {
            return &model.items[at];
        }
    }
    return nullptr;
}

// Read back from the built menu: what the menu shows, not the flags that asked for it.
TEST_F(LanguageMenu, ListsTheFortyTwoNamedLanguagesInTwoColumnsWithTheTranslatorTools) {
    const std::vector<MenuItemView> menu = BuiltLanguageMenu();
    // 42 languages, the column break, a separator and two tools; the unnamed 43rd is left out.
    ASSERT_EQ(menu.size(), 46u);
    for (int at = 0; at < 23; ++at) {
        EXPECT_EQ(menu[at].id, kFirstLanguageCommand + static_cast<UINT>(at)) << at;
    }
    // An empty item that opens the second column, with a bar between the columns.
    const MenuItemView& columnBreak = menu[23];
    EXPECT_NE(columnBreak.type & MFT_MENUBARBREAK, 0u);
    EXPECT_EQ(columnBreak.id, 0u);
    EXPECT_EQ(columnBreak.text, L"");
    // The second column: the remaining 19 languages, then the tools under a separator.
    for (int at = 24; at < 46; ++at) {
        EXPECT_EQ(menu[at].type & (MFT_MENUBARBREAK | MFT_MENUBREAK), 0u) << "no further column at " << at;
    }
    for (int at = 24; at < 43; ++at) {
        EXPECT_EQ(menu[at].id, kFirstLanguageCommand + static_cast<UINT>(at - 1)) << at;
    }
    EXPECT_NE(menu[43].type & MFT_SEPARATOR, 0u);
    EXPECT_EQ(menu[44].id, kTranslateCommand);
    EXPECT_EQ(menu[44].text, L"Translate");
    EXPECT_EQ(menu[45].id, kLoadLanguageFileCommand);
    EXPECT_EQ(menu[45].text, L"Load from File (Unicode)");
    for (int at : {44, 45}) {
        EXPECT_EQ(menu[at].state & (MFS_CHECKED | MFS_GRAYED), 0u) << at;
    }
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

// Ticked, and greyed so that it cannot be chosen again; the other commands are neither.
TEST_F(LanguageMenu, OnlyTheCurrentLanguageIsTickedAndGreyed) {
    languagePack.currentLanguage = 5;
    int commands = 0;
    for (const MenuItemView& item : BuiltLanguageMenu()) {
        if (item.id != 0) {
            ++commands;
            const bool current = item.id == kFirstLanguageCommand + 5;
            EXPECT_EQ((item.state & MFS_CHECKED) != 0, current) << item.id;
            EXPECT_EQ((item.state & MFS_GRAYED) == MFS_GRAYED, current) << item.id;
        }
    }
    EXPECT_EQ(commands, 44);
    languagePack.currentLanguage = 99;  // an INI value past the pack's languages marks none
    for (const MenuItemView& item : BuiltLanguageMenu()) {
        if (item.id != 0) {
            EXPECT_EQ(item.state & (MFS_CHECKED | MFS_GRAYED), 0u) << item.id;
        }
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
    for (int at = 0; at < model.count; ++at) {
        EXPECT_EQ(StartsAColumn(model.items[at]), at == 5) << at;
    }
    pack.languageCount = 1;
    const LanguageMenuModel single = BuildLanguageMenuModel(pack, false);
    ASSERT_EQ(single.count, 5);
    for (int at = 0; at < single.count; ++at) {
        EXPECT_EQ(StartsAColumn(single.items[at]), at == 1) << at;
    }
    EXPECT_EQ(single.items[2].flags & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
}

}  // namespace
