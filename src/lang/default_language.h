// The language the program speaks when it starts: the Windows user language, then the INI key
// "lng".
#pragma once
#include <cstdint>

// From the Windows user language, then the INI key "lng".
void SelectDefaultLanguage();

// The pack index for a Windows language id (primary language in the low 10 bits, sublanguage
// above); English for every language the pack has no translation for.
int DefaultLanguageFor(uint16_t languageId);
