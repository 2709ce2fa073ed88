#include "extras/program_menu.h"

#include "common/program.h"
#include "common/scoped_handle.h"
#include "extras/program_zip.h"
#include "extras/recommend_mail.h"
#include "extras/uninstall.h"
#include "extras/web_pages.h"
#include "lang/language_file.h"
#include "lang/language_pack.h"
#include "lang/text_ids.h"
#include "resource_ids.h"

namespace {

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
