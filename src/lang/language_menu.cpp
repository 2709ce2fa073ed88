#include "lang/language_menu.h"

#include <cwchar>
#include <utility>

#include "common/scoped_handle.h"
#include "settings/settings.h"
#include "settings/settings_table.h"

namespace {

// Shorter display names belong to no language (the pack's unnamed last entry).
constexpr int kShortestDisplayName = 6;
constexpr UINT kCurrentLanguageFlags = MF_CHECKED | MF_DISABLED | MF_GRAYED;
constexpr UINT kColumnBreakFlags = MF_MENUBARBREAK | MF_MENUBREAK | MF_RIGHTJUSTIFY;

void Add(LanguageMenuModel& model, UINT flags, UINT id, Text text) {
    if (model.count < kLanguageMenuCapacity) {
        model.items[model.count++] = {flags | MF_BYPOSITION, id, std::move(text)};
    }
}

void InsertAt(LanguageMenuModel& model, int position, LanguageMenuItem item) {
    if (model.count >= kLanguageMenuCapacity) {
        return;
    }
    position = position < model.count ? position : model.count;
    for (int at = model.count; at > position; --at) {
        model.items[at] = model.items[at - 1];
    }
    model.items[position] = std::move(item);
    ++model.count;
}

bool NumberedMenuWanted() {
    return GetFileAttributesW(kNumberedMenuMarker) != INVALID_FILE_ATTRIBUTES;
}

void CarryOut(UINT choice, LanguageHost& host) {
    if (choice >= kFirstLanguageCommand && choice <= kLastLanguageCommand) {
        const int language = static_cast<int>(choice - kFirstLanguageCommand);
        UseLanguage(language);
        host.Retext();
        SaveSetting(&Settings::lng, language);
    } else if (choice == kTranslateCommand) {
        ExportTranslation();
    } else if (choice == kLoadLanguageFileCommand) {
        ChooseLanguageFile(host);
    }
}

}  // namespace

LanguageMenuModel BuildLanguageMenuModel(const LanguagePack& pack, bool numbered) {
    LanguageMenuModel model;
    for (int language = 0; language < pack.languageCount && language < kMaxLanguages; ++language) {
        const wchar_t* name = pack.languageName[language];
        if (name == nullptr || wcslen(name) < kShortestDisplayName) {
            continue;
        }
        Text text = numbered ? Text::Format(L"%d.) %s / %d %%", language, name, pack.completeness[language])
                             : Text::Format(L"%s / %d %%", name, pack.completeness[language]);
        Add(model, language == pack.currentLanguage ? kCurrentLanguageFlags : 0,
            kFirstLanguageCommand + static_cast<UINT>(language), std::move(text));
    }
    InsertAt(model, model.count / 2 + 2, {kColumnBreakFlags | MF_BYPOSITION, 0, Text(L"")});
    Add(model, MF_SEPARATOR, 0, Text());
    // The translators' tools are named in English whatever the language: a translator finds
    // them from any language, and a half-done translation file cannot rename them.
    Add(model, 0, kTranslateCommand, L"Translate");
    Add(model, 0, kLoadLanguageFileCommand, L"Load from File (Unicode)");
    return model;
}

void ShowLanguageMenu(LanguageHost& host) {
    ScopedMenu menu(CreatePopupMenu());
    if (!menu) {
        return;
    }
    const LanguageMenuModel model = BuildLanguageMenuModel(languagePack, NumberedMenuWanted());
    for (int at = 0; at < model.count; ++at) {
        const LanguageMenuItem& item = model.items[at];
        InsertMenuW(menu.Get(), static_cast<UINT>(-1), item.flags, item.id, item.text.c_str());
    }
    CarryOut(host.TrackLanguagePopup(menu.Get()), host);
}
