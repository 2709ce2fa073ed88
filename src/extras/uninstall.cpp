#include "extras/uninstall.h"

#include <shellapi.h>

#include "common/program.h"
#include "common/scoped_handle.h"
#include "extras/web_pages.h"
#include "lang/language_file.h"
#include "lang/language_pack.h"
#include "lang/text_ids.h"
#include "resource_ids.h"
#include "settings/autostart.h"
#include "settings/ini_store.h"

namespace {

constexpr wchar_t kBatchSuffix[] = L"_selfdestruct.bat";

// `path` as the batch may name it (see PathInCodePage), with "%" doubled so the command
// interpreter does not expand it.
std::optional<std::string> BatchPath(const wchar_t* path, UINT codePage, ShortPathLookup shortPath) {
    std::optional<std::string> named = PathInCodePage(path, codePage, shortPath);
    if (!named) {
        return std::nullopt;
    }
    std::string escaped;
    for (char c : *named) {
        escaped += c;
        if (c == '%') {
            escaped += '%';
        }
    }
    return escaped;
}

// The batch is named after the exe. The command interpreter that starts it expands "%" in its
// own command line, where no doubling helps: a "%" in the name would start another file.
std::wstring BatchName(const std::wstring& exe) {
    std::wstring name = FileNameOfPath(exe.c_str()).c_str();
    for (wchar_t& c : name) {
        if (c == L'%') {
            c = L'_';
        }
    }
    return name + kBatchSuffix;
}

}  // namespace

std::string SelfDeleteBatchText(const wchar_t* exe,
                                const wchar_t* ini,
                                const wchar_t* batch,
                                UINT codePage,
                                ShortPathLookup shortPath) {
    std::optional<std::string> exeName = BatchPath(exe, codePage, shortPath);
    std::optional<std::string> iniName = BatchPath(ini, codePage, shortPath);
    std::optional<std::string> batchName = BatchPath(batch, codePage, shortPath);
    if (!exeName || !iniName || !batchName) {
        return std::string();
    }
    // Deleting the exe fails while the program still runs: the loop waits for it to end, a
    // second a try. An exe that stays locked (another copy still running, a virus scanner) is
    // given up after a minute, and then its settings stay with it.
    return "set tries=0\r\n"
           ":Repeat\r\n"
           "DEL \"" + *exeName + "\"\r\n"
           "if not exist \"" + *exeName + "\" goto Removed\r\n"
           "set /a tries+=1\r\n"
           "if %tries% GEQ " + std::to_string(kSelfDeleteTries) + " goto Done\r\n"
           "ping -n 2 127.0.0.1 >NUL\r\n"
           "goto Repeat\r\n"
           ":Removed\r\n"
           "DEL \"" + *iniName + "\"\r\n"
           ":Done\r\n"
           "DEL \"" + *batchName + "\"\r\n";
}

bool WriteSelfDeleteBatch() {
    std::wstring exe = ExecutablePath();
    const wchar_t* ini = SettingsFilePath();
    const std::wstring temp = TemporaryFolder();
    if (exe.empty() || ini == nullptr || ini[0] == L'\0' || temp.empty()) {
        return false;
    }
    std::wstring batch = temp + BatchName(exe);
    HANDLE created =
        CreateFileW(batch.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created == INVALID_HANDLE_VALUE) {
        return false;
    }
    ScopedKernelHandle file(created);
    // The command interpreter reads a batch file in the console's (OEM) code page, so that is
    // the code page every path has to survive. The batch exists now, so it has a short form too.
    std::string text = SelfDeleteBatchText(exe.c_str(), ini, batch.c_str(), GetOEMCP(), SystemShortPath);
    DWORD written = 0;
    bool complete = !text.empty() &&
                    WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                    written == text.size();
    file.Reset();
    if (!complete) {
        DeleteFileW(batch.c_str());  // the program's files stay where they are
        return false;
    }
    HINSTANCE started = ShellExecuteW(nullptr, L"open", batch.c_str(), nullptr, temp.c_str(), SW_HIDE);
    if (reinterpret_cast<INT_PTR>(started) <= 32) {
        DeleteFileW(batch.c_str());
        return false;
    }
    return true;
}

void Uninstall(HWND dialog) {
    UINT style = MB_YESNOCANCEL | MB_ICONQUESTION | MB_TOPMOST;
    if (MessageBoxW(GetActiveWindow(), GetText(kTextAreYouSure), GetText(kTextUninstall), style) != IDYES) {
        return;
    }
    SetAutostart(false);
    if (WriteSelfDeleteBatch()) {
        OpenWebPage(dialog, IDM_UNINSTALL);
    } else {
        // Nothing will delete the files: the user is told which they are and where. The program
        // ends all the same, as asked, so that they can be deleted by hand at once.
        const std::wstring exe = ExecutablePath();
        ShowFileAccessError(GetText(kTextUninstall), Text(exe.c_str()) + L"\n" + SettingsFilePath());
    }
    PostQuitMessage(0);
}
