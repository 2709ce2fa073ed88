// Language files for translators: the English texts exported to a file they can fill in, and a
// filled-in file loaded back to take over every text until the program ends.
#pragma once
#include <windows.h>

#include <commdlg.h>

#include "common/text.h"
#include "lang/language_pack.h"

// The window that the language menu and the language files serve: the settings dialog hands
// itself in, so that this folder never reaches back into the dialog's.
class LanguageHost {
  public:
    // Owns the file dialog and the reports.
    virtual HWND Window() const = 0;
    // Shows the language menu where it belongs and returns the chosen command, 0 when the
    // menu was dismissed.
    virtual UINT TrackLanguagePopup(HMENU menu) = 0;
    // Fetches every text again after a change of language.
    virtual void Retext() = 0;

  protected:
    ~LanguageHost() = default;
};

// "translate_" + the product name and version with blanks made "_" + ".txt".
Text TranslationExportName(const wchar_t* productAndVersion);

// The export file's text, without its byte-order mark: a note for the mail's subject, the
// request to translators, the English header line and the English section as the pack has it.
Text TranslationExportText(const LanguagePack& pack);

// Writes the export file into the temporary folder and has the shell open it; a file that
// cannot be written whole is reported instead.
void ExportTranslation();

// Tells the user that the files `paths` (one a line) could not be read, written or deleted.
void ShowFileAccessError(const wchar_t* caption, const Text& paths);

// Appends the text of a UTF-16LE file with byte-order mark, or of an ANSI file without one.
// False, with `text` unchanged, when the file cannot be read. ANSI text is read in `codePage`.
bool ReadTextFile(const wchar_t* path, Text& text, UINT codePage = CP_ACP);

// "NN %", then, when counted texts (IsCountedText) are missing from `entries`, the first nine
// as "id=English text" lines and the rest as "id," items.
Text CompletenessReport(const wchar_t* const* entries, const wchar_t* const* english);

// Makes the file's texts the only ones for the rest of the run and reports how complete they
// are. A file that cannot be read is reported and changes nothing.
void LoadLanguageFile(const wchar_t* path, LanguageHost& host);

// Asks for a language file and loads it; nothing happens on cancel.
void ChooseLanguageFile(LanguageHost& host);

// The common dialogs' GetOpenFileNameW, or a stand-in for it.
using OpenFileDialog = BOOL(WINAPI*)(OPENFILENAMEW* dialog);
// ChooseLanguageFile through `open`.
void ChooseLanguageFileWith(LanguageHost& host, OpenFileDialog open);
