#include "lang/language_menu.h"

// Not built yet: the language follows the system and the INI key "lng".

void ShowLanguageMenu(HWND) {}
