#include "extras/program_menu.h"

#include <shellapi.h>

#include "common/path_names.h"
#include "common/failure_note.h"
#include "common/program.h"
#include "common/scoped_handle.h"
#include "extras/program_zip.h"
#include "extras/recommend_mail.h"
#include "lang/language_file.h"
#include "lang/language_pack.h"
#include "lang/text_ids.h"
#include "resource_ids.h"
#include "settings/autostart.h"
#include "settings/ini_store.h"

namespace {

constexpr wchar_t kSite[] = L"http://www.velmora-soft.";
// Time-zone biases within four hours of UTC count as Europe and its neighbours.
constexpr LONG kEuropeanBiasMinutes = 240;
constexpr wchar_t kBatchSuffix[] = L"_selfdestruct.bat";

struct MenuEntry {
    UINT command;  // 0: a separator, which has no text
    TextId text;
};
constexpr MenuEntry kSeparator = {};

constexpr MenuEntry kProgramMenu[] = {
    {IDC_FAQ, kTextFaq},
    {IDM_NEWEST_VERSION, kTextNewestVersion},
    {IDM_HISTORY, kTextHistory},
    kSeparator,
    {IDM_UNINSTALL, kTextUninstall},
    {IDM_LICENSE, kTextLicence},
    kSeparator,
    {IDM_RECOMMEND, kTextRecommend},
    {IDM_SEND_ZIP, kTextSendViaEmail},
    kSeparator,
    {IDM_TO_TRAY, kTextToTray},
    {IDM_EXIT, kTextExit},
};

Text MenuText(const MenuEntry& entry) {
    Text text = GetText(entry.text);
    text.Replace(L"#AP#", productName);
    if (entry.command == IDC_FAQ) {
        // After a tab the text stands in the accelerator column: it names the "# ?" button.
        text += L"\t(# ?)";
    }
    return text;
}

bool German(int language) {
    return language == kGerman;
}

// Pages that the dialog owns: the shell may show its errors over the dialog.
bool OwnedByDialog(UINT command) {
    return command == IDC_FAQ || command == IDM_LICENSE || command == IDM_UNINSTALL;
}

void OpenWebPage(HWND dialog, UINT command) {
    Text address = WebCommandAddress(command, languagePack.currentLanguage, GetWebBase());
    if (address.Empty()) {
        return;
    }
    // The shell tells the user itself why a page does not open.
    HINSTANCE opened =
        ShellExecuteW(OwnedByDialog(command) ? dialog : nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOW);
    if (reinterpret_cast<INT_PTR>(opened) <= 32) {
        NoteFailure(L"ShellExecute (web page)", static_cast<DWORD>(reinterpret_cast<INT_PTR>(opened)));
    }
}

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
    std::wstring name = GetExeFileName(exe.c_str()).c_str();
    for (wchar_t& c : name) {
        if (c == L'%') {
            c = L'_';
        }
    }
    return name + kBatchSuffix;
}

// Only an archive that this run made and checked goes out. Without one the user has been told
// why, or a packing is under way already, or the program is ending.
void SendProgramByMail(HWND dialog) {
    const std::wstring temp = TemporaryFolder();
    if (temp.empty()) {
        return;
    }
    Text archive = Text::Format(L"%s%s.zip", temp.c_str(), productName);
    if (!PackProgramZip(archive, kFreshArchive, dialog)) {
        return;
    }
    if (SendRecommendMail(dialog, archive, GetText(kTextMailSubject), GetText(kTextMailBody)) ==
        MailOutcome::kAttachmentUnnamed) {
        ShowFileAccessError(nullptr, archive);
    }
}

}  // namespace

HMENU BuildProgramMenu() {
    ScopedMenu bar(CreateMenu());
    ScopedMenu popup(CreatePopupMenu());
    if (!bar || !popup) {
        return nullptr;
    }
    for (const MenuEntry& entry : kProgramMenu) {
        if (entry.command == 0) {
            AppendMenuW(popup.Get(), MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenuW(popup.Get(), MF_STRING, entry.command, MenuText(entry).c_str());
        }
    }
    if (!AppendMenuW(bar.Get(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup.Get()), GetText(kTextProgram))) {
        return nullptr;
    }
    popup.Release();  // the bar owns it now
    return bar.Release();
}

bool RunProgramMenuCommand(HWND dialog, UINT command) {
    switch (command) {
        case IDC_FAQ:
        case IDM_NEWEST_VERSION:
        case IDM_HISTORY:
        case IDM_LICENSE:
        case IDC_LINK_BAR_PLACE:
            OpenWebPage(dialog, command);
            return true;
        case IDM_UNINSTALL:
            Uninstall(dialog);
            return true;
        case IDM_RECOMMEND:
            SendRecommendMail(dialog, Text(), GetText(kTextMailSubject), GetText(kTextMailBody));
            return true;
        case IDM_SEND_ZIP:
            SendProgramByMail(dialog);
            return true;
        default:
            return false;
    }
}

Text WebBaseFor(int language, std::optional<LONG> biasMinutes) {
    const wchar_t* domain = L"com";
    if (German(language)) {
        domain = L"de";
    } else if (biasMinutes && *biasMinutes >= -kEuropeanBiasMinutes && *biasMinutes <= kEuropeanBiasMinutes) {
        domain = L"eu";
    }
    return Text::Format(L"%s%s", kSite, domain);
}

Text GetWebBase() {
    TIME_ZONE_INFORMATION zone = {};
    DWORD result = GetTimeZoneInformation(&zone);
    std::optional<LONG> bias;
    if (result != TIME_ZONE_ID_UNKNOWN && result != TIME_ZONE_ID_INVALID) {
        bias = zone.Bias;
    }
    return WebBaseFor(languagePack.currentLanguage, bias);
}

Text WebCommandAddress(UINT command, int language, const Text& base) {
    const wchar_t* page = L"/?seite=Microsoft/";
    bool german = German(language);
    switch (command) {
        case IDC_FAQ:
            return Text::Format(L"%s%s%s", base.c_str(), L"/?seite=faq-", productName);
        case IDM_NEWEST_VERSION:
            return Text::Format(L"%s%s%s", base.c_str(), page, productName);
        case IDM_HISTORY: {
            // The history lives on the site named by the language alone, whatever the time zone.
            const wchar_t* site = GetHeaderText(german ? kHeaderGermanSite : kHeaderInternationalSite);
            if (site == nullptr || site[0] == L'\0') {
                return Text();
            }
            return Text::Format(L"%s%s%s%s", site, page, productName, L"/History");
        }
        case IDM_LICENSE:
            return Text::Format(L"%s%s%s%s", base.c_str(), page, productName, german ? L"/Lizenz" : L"/Eula");
        case IDC_LINK_BAR_PLACE:
            return Text::Format(L"%s%s%s%s", base.c_str(), page, productName, german ? L"/Danke" : L"/Thanks");
        case IDM_UNINSTALL:
            return Text::Format(L"%s%s%s%s", base.c_str(), L"?seite=Microsoft/", productName, L"/Uninstall");
        default:
            return Text();
    }
}


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
