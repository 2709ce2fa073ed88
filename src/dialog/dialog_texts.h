// The settings dialog's texts in the current language: controls, title, link bar and the
// program menu.
#pragma once

#include <vector>

#include "common/text.h"
#include "dialog/dialog_parts.h"

// Sets every text again; the language menu has it called after a change of language.
void ApplyDialogTexts(const DialogParts& dialog);

// A text in the current language that Alt+letter can reach in the dialog: a menu bar button
// opens with its marked letter, else its first; a control only with a marked letter.
struct DialogKeyText {
    Text text;
    bool menuBarButton;
};
std::vector<DialogKeyText> DialogKeyTexts();
