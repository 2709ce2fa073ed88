// The language menu under the menu bar's "# LNG" button: every language of the pack, loading
// a language file, and exporting the current translation for translators.
#pragma once
#include <windows.h>

// Opens the menu for the settings dialog `dialog` and carries out the choice.
void ShowLanguageMenu(HWND dialog);
