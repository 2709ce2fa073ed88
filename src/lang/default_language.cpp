#include "lang/default_language.h"

#include <windows.h>

#include "lang/language_pack.h"
#include "settings/settings.h"
#include "settings/settings_table.h"

namespace {

constexpr int kPrimaryLanguageBits = 10;
constexpr uint16_t kPrimaryLanguageMask = (1u << kPrimaryLanguageBits) - 1;
constexpr int kAnySublanguage = -1;

struct LanguageMapping {
    uint16_t primaryLanguage;
    int sublanguage;  // kAnySublanguage matches every sublanguage
    int packIndex;
};

// First match wins, so a language's specific sublanguage stands before its catch-all.
constexpr LanguageMapping kLanguageMappings[] = {
    {0x01, kAnySublanguage, 26},  // Arabic
    {0x02, kAnySublanguage, 24},  // Bulgarian
    {0x04, 0x01, 9},              // Chinese, traditional
    {0x04, kAnySublanguage, 11},  // Chinese, any other
    {0x05, kAnySublanguage, 27},  // Czech
    {0x06, kAnySublanguage, 25},  // Danish
    {0x07, kAnySublanguage, 0},   // German
    {0x08, kAnySublanguage, 15},  // Greek
    {0x09, kAnySublanguage, 1},   // English
    {0x0A, 0x08, 34},             // Spanish, Venezuela
    {0x0A, kAnySublanguage, 29},  // Spanish, any other
    {0x0B, kAnySublanguage, 40},  // Finnish
    {0x0C, kAnySublanguage, 2},   // French
    {0x0D, kAnySublanguage, 22},  // Hebrew
    {0x0E, kAnySublanguage, 6},   // Hungarian
    {0x10, kAnySublanguage, 5},   // Italian
    {0x11, kAnySublanguage, 19},  // Japanese
    {0x12, kAnySublanguage, 28},  // Korean
    {0x13, kAnySublanguage, 7},   // Dutch
    {0x14, kAnySublanguage, 31},  // Norwegian
    {0x15, kAnySublanguage, 18},  // Polish
    {0x16, 0x01, 16},             // Portuguese, Brazil
    {0x16, kAnySublanguage, 3},   // Portuguese, any other
    {0x18, kAnySublanguage, 10},  // Romanian
    {0x19, kAnySublanguage, 4},   // Russian
    {0x1A, kAnySublanguage, 14},  // Croatian, Serbian, Bosnian
    {0x1D, kAnySublanguage, 20},  // Swedish
    {0x1E, kAnySublanguage, 33},  // Thai
    {0x1F, kAnySublanguage, 8},   // Turkish
    {0x21, kAnySublanguage, 38},  // Indonesian
    {0x24, kAnySublanguage, 12},  // Slovenian
    {0x29, kAnySublanguage, 21},  // Persian
    {0x2A, kAnySublanguage, 13},  // Vietnamese
    {0x39, kAnySublanguage, 35},  // Hindi
    {0x3C, kAnySublanguage, 32},  // Irish
    {0x3E, kAnySublanguage, 37},  // Malay
    {0x52, kAnySublanguage, 36},  // Welsh
    {0x64, kAnySublanguage, 39},  // Filipino
};

}  // namespace

int DefaultLanguageFor(uint16_t languageId) {
    uint16_t primary = languageId & kPrimaryLanguageMask;
    int sublanguage = languageId >> kPrimaryLanguageBits;
    for (const LanguageMapping& mapping : kLanguageMappings) {
        if (mapping.primaryLanguage == primary &&
            (mapping.sublanguage == kAnySublanguage || mapping.sublanguage == sublanguage)) {
            return mapping.packIndex;
        }
    }
    return kEnglish;
}

// The INI value is taken as it is: one outside the pack shows English texts (GetText falls
// back) and leaves the language menu without a tick.
void SelectDefaultLanguage() {
    // Without the key, the system's language stays.
    KeepSettingUnsaved(&Settings::lng, DefaultLanguageFor(GetUserDefaultLangID()));
    LoadSettings(SettingRead::kLanguage);
    UseLanguage(settings.lng);
}
