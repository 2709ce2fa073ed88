// The language pack built into the program: the default language, decoding the pack at
// start-up, and every visible text by id.
#pragma once

inline constexpr int kMaxLanguages = 44;
inline constexpr int kTextIds = 256;
inline constexpr int kHeaderIds = 128;

struct LanguagePack {
    const wchar_t* headerStrings[kHeaderIds] = {};
    const wchar_t* licenceText[2] = {};
    int languageCount = 0;
    const wchar_t* languageName[kMaxLanguages] = {};
    const wchar_t* languageBody[kMaxLanguages] = {};
    const wchar_t* strings[kMaxLanguages][kTextIds] = {};
    int completeness[kMaxLanguages] = {};
    wchar_t englishReference[2048] = {};
    const wchar_t* customStrings[kTextIds] = {};
    bool customLoaded = false;
    int currentLanguage = 1;
};

extern LanguagePack languagePack;

// From the Windows user language, then the INI key "lng".
void SelectDefaultLanguage();

// Decodes the pack and builds the tables. Returns 1 on success.
int LoadLanguagePack();

// The text for an id 0..255 in the current language, falling back to English (empty when
// English lacks it too). Never null.
const wchar_t* GetText(int id);

// A header string by id 0..127, null where absent.
const wchar_t* GetHeaderText(int id);
