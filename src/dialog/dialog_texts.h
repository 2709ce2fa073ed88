// The settings dialog's texts in the current language: controls, title, link bar and the
// program menu.
#pragma once

// Sets every text again; the language menu calls it after a change of language.
void ApplyDialogTexts();
