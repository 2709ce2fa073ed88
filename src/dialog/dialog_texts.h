// The settings dialog's texts in the current language: controls, title, link bar and the
// program menu.
#pragma once

#include "dialog/dialog_parts.h"

// Sets every text again; the language menu has it called after a change of language.
void ApplyDialogTexts(const DialogParts& dialog);
