#include "lang/language_file.h"

#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "common/failure_note.h"
#include "common/program.h"
#include "common/scoped_handle.h"
#include "common/system_library.h"
#include "lang/text_ids.h"

namespace {

constexpr wchar_t kReportCaption[] = L"Translate";
constexpr int kBlockBytes = 1024;
constexpr int kListedMissingIds = 9;

// Customised strings point into this text, so it lives until the process ends; a later load
// replaces it only after the new table points into the new text.
Text loadedLanguageFile;

void CloseStdioFile(FILE* file) {
    fclose(file);  // NOLINT(cert-err33-c): the file was only read, closing it can lose nothing
}
using ScopedFile = ScopedHandle<FILE*, CloseStdioFile>;

bool ReadAllBytes(const wchar_t* path, std::string& bytes) {
    ScopedFile file(_wfopen(path, L"rb"));
    if (!file) {
        return false;
    }
    char block[kBlockBytes];
    size_t read = 0;
    while ((read = fread(block, 1, sizeof(block), file.Get())) > 0) {
        bytes.append(block, read);
    }
    return ferror(file.Get()) == 0;
}

bool WriteWhole(HANDLE file, const void* data, DWORD size) {
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

void AppendUtf16(const std::string& bytes, Text& text) {
    // Each block ends at its first zero unit, as a block read into a terminated buffer would.
    for (size_t at = 2; at + 1 < bytes.size(); at += kBlockBytes) {
        const size_t blockBytes = std::min<size_t>(kBlockBytes, bytes.size() - at) & ~size_t{1};
        const int units = static_cast<int>(blockBytes / 2);
        std::wstring block(static_cast<size_t>(units), L'\0');
        memcpy(block.data(), bytes.data() + at, blockBytes);
        text.Append(block.c_str(), static_cast<int>(wcsnlen(block.c_str(), block.size())));
    }
}

// Converted whole, up to the first zero byte: a double-byte character never falls apart at
// a block boundary.
void AppendAnsi(const std::string& bytes, UINT codePage, Text& text) {
    const int length = static_cast<int>(std::min<size_t>(strnlen(bytes.c_str(), bytes.size()), Text::kMaxLength));
    const int units = length > 0 ? MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0) : 0;
    if (units <= 0) {
        return;
    }
    std::wstring wide(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), length, wide.data(), units);
    text.Append(wide.c_str(), units);
}

}  // namespace

Text TranslationExportName(const wchar_t* productAndVersion) {
    Text name(productAndVersion);
    name.Replace(L" ", L"_");
    return Text(L"translate_") + name + L".txt";
}

Text TranslationExportText(const LanguagePack& pack) {
    Text text(L"\r\nPlease don't forget! Write in e-mail subject: Strings for: ");
    text += pack.headerStrings[kHeaderProductAndVersion];
    text += L" and Language Name : German / Deutsch ";
    text += L"\r\n\r\n";
    text += pack.headerStrings[kHeaderTranslatorRequest];
    text += L"\r\n\r\n##=";
    text += pack.languageName[kEnglish];
    text += L"\r\n\r\n";
    text += pack.englishReference;
    text += L"\r\n\r\n";
    return text;
}

void ExportTranslation() {
    const std::wstring folder = TemporaryFolder();
    if (folder.empty()) {
        return;  // no temporary folder: there is nowhere to put the file
    }
    const Text path = Text(folder.c_str()) + TranslationExportName(GetHeaderText(kHeaderProductAndVersion));
    DeleteFileW(path.c_str());
    const Text content = TranslationExportText(languagePack);
    // CREATE_ALWAYS: a file the delete could not remove is cut, so no old tail outlives a shorter export.
    HANDLE created = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    ScopedKernelHandle file(created == INVALID_HANDLE_VALUE ? nullptr : created);
    static constexpr BYTE kByteOrderMark[] = {0xFF, 0xFE};
    const bool whole = file && WriteWhole(file.Get(), kByteOrderMark, sizeof(kByteOrderMark)) &&
                       WriteWhole(file.Get(), content.c_str(), static_cast<DWORD>(content.Length()) * sizeof(wchar_t));
    file.Reset();  // closed before the editor opens it
    // A locked file may still hold the export of another day: only one this run wrote whole is opened.
    if (!whole) {
        if (created != INVALID_HANDLE_VALUE) {
            DeleteFileW(path.c_str());
        }
        ShowFileAccessError(kReportCaption, path);
        // cppcheck-suppress resourceLeak ; file owned the handle and has closed it
        return;
    }
    // The shell tells the user itself when no editor opens the file; it stays in the folder.
    HINSTANCE opened = ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOW);
    if (reinterpret_cast<INT_PTR>(opened) <= 32) {
        NoteFailure(L"ShellExecute (translation file)", static_cast<DWORD>(reinterpret_cast<INT_PTR>(opened)));
    }
}

void ShowFileAccessError(const wchar_t* caption, const Text& paths) {
    const Text message = Text::Format(L"%s\n%s", GetText(kTextFileAccessError), paths.c_str());
    MessageBoxW(GetActiveWindow(), message.c_str(), caption, MB_OK);
}

bool ReadTextFile(const wchar_t* path, Text& text, UINT codePage) {
    std::string bytes;
    if (!ReadAllBytes(path, bytes)) {
        return false;
    }
    if (bytes.size() >= 2 && static_cast<BYTE>(bytes[0]) == 0xFF && static_cast<BYTE>(bytes[1]) == 0xFE) {
        AppendUtf16(bytes, text);
    } else {
        AppendAnsi(bytes, codePage, text);
    }
    return true;
}

Text CompletenessReport(const wchar_t* const* entries, const wchar_t* const* english) {
    Text missing;
    int missingCount = 0;
    for (int id = 0; id < kTextIds; ++id) {
        if (!IsCountedText(english, id) || (entries[id] != nullptr && entries[id][0] != L'\0')) {
            continue;
        }
        ++missingCount;
        if (missingCount <= kListedMissingIds) {
            missing += Text::Format(L"%d=%s\n", id, english[id]);
            continue;
        }
        if (missingCount == kListedMissingIds + 1) {
            missing += L"...and...\n";
        }
        missing += Text::Format(L"%d,", id);
    }
    Text report = Text::Format(L"%d %%", Completeness(entries, english));
    if (missingCount > 0) {
        report += L"\n\nmiss:\n";
        report += missing;
    }
    return report;
}

void LoadLanguageFile(const wchar_t* path, LanguageHost& host) {
    Text text;
    if (!ReadTextFile(path, text)) {
        ShowFileAccessError(kReportCaption, path);
        return;
    }
    wchar_t* chars = text.GetBuffer(text.Length());
    if (chars == nullptr) {
        return;  // out of memory: the texts stay as they are
    }
    FillEntries(chars, languagePack.customStrings, kTextIds, false);
    loadedLanguageFile = std::move(text);
    languagePack.customLoaded = true;
    const Text report = CompletenessReport(languagePack.customStrings, languagePack.strings[kEnglish]);
    MessageBoxW(host.Window(), report.c_str(), kReportCaption, MB_OK);
    host.Retext();
}

void ChooseLanguageFile(LanguageHost& host) {
    static const auto openFileName = CommonDialogFunction<OpenFileDialog>("GetOpenFileNameW");
    if (openFileName != nullptr) {
        ChooseLanguageFileWith(host, openFileName);
    }
}

void ChooseLanguageFileWith(LanguageHost& host, OpenFileDialog open) {
    wchar_t file[MAX_PATH] = L"";
    wchar_t fileTitle[MAX_PATH] = L"";
    OPENFILENAMEW dialog = {};
    // The record without its later fields, which older systems reject.
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    // Owned by the dialog, so it stays in front of it and the dialog waits for it.
    dialog.hwndOwner = host.Window();
    // No filter: translations come back named .txt, .lng or nothing at all, and each is shown.
    // A name typed that leads nowhere is refused in the dialog, not loaded as an empty file.
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    dialog.hInstance = GetModuleHandleW(nullptr);
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrFileTitle = fileTitle;
    dialog.nMaxFileTitle = MAX_PATH;
    if (open(&dialog)) {
        LoadLanguageFile(file, host);
    }
}
