// The language menu under the menu bar's "# LNG" button: every language of the pack with how
// complete it is, loading a language file, and exporting the English texts for translators.
#pragma once
#include <windows.h>

#include "common/text.h"
#include "lang/language_file.h"
#include "lang/language_pack.h"

// Language i has command 10 + i; only the first 42 languages can be chosen.
inline constexpr UINT kFirstLanguageCommand = 10;
inline constexpr UINT kLastLanguageCommand = 51;
inline constexpr UINT kTranslateCommand = 1000;
inline constexpr UINT kLoadLanguageFileCommand = 1001;
// While a file of this name is in the current directory the items carry their language
// index, which translators quote.
inline constexpr wchar_t kNumberedMenuMarker[] = L"AtlMiscX.flag";

struct LanguageMenuItem {
    UINT flags = 0;  // MF_ flags for InsertMenuW, MF_BYPOSITION included
    UINT id = 0;
    Text text;
};

inline constexpr int kLanguageMenuCapacity = kMaxLanguages + 4;

// The menu's items in order: the named languages, a column break after half of them (plus
// two), a separator and the two translator tools.
struct LanguageMenuModel {
    int count = 0;
    LanguageMenuItem items[kLanguageMenuCapacity];
};

LanguageMenuModel BuildLanguageMenuModel(const LanguagePack& pack, bool numbered);

// Opens the menu where the host shows it (under the menu bar's "# LNG" button) and carries out
// the choice; the host is re-texted after a change of language.
void ShowLanguageMenu(LanguageHost& host);
