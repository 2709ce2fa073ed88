#include "extras/recommend_mail.h"

#include <optional>
#include <string>

#include "common/path_names.h"
#include "common/program.h"
#include "common/system_library.h"
#include "lang/language_pack.h"
#include "lang/text_ids.h"

namespace {

// Mail programs copy the subject and the attachment path into buffers of MAX_PATH characters.
constexpr int kMaxFieldLength = MAX_PATH;
constexpr ULONG kSendMailFlags = MAPI_LOGON_UI | MAPI_DIALOG;
constexpr ULONG kNoPosition = 0xFFFFFFFF;  // the attachment is not placed inside the text

// Loaded once and kept: mail programs do not expect to be unloaded while they run.
HMODULE MailLibrary() {
    static const HMODULE mapi = LoadSystemLibrary(L"MAPI32.DLL");
    return mapi;
}

template <typename Function>
Function MailFunction(HMODULE mapi, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(mapi, name)));
}

// The text in the ANSI code page, a look-alike for what the code page lacks. Sized by the
// conversion itself: a code page such as UTF-8 needs three bytes for one UTF-16 unit.
std::string Ansi(const Text& text, UINT codePage) {
    return ConvertedText(text.c_str(), text.Length(), codePage);
}

// The stored body keeps its line ends as the two characters backslash and r or n.
Text MailBody(const Text& body, int language) {
    const wchar_t* link = GetHeaderText(language == kGerman ? kHeaderGermanDonatePage : kHeaderDonatePage);
    Text text = body;
    text.Replace(L"#AP#", productName);
    text.Replace(L"\\r", L"\r");
    text.Replace(L"\\n", L"\n");
    text.Replace(L"#IN#", link != nullptr ? link : L"");
    text.Replace(L"#DL#", link != nullptr ? link : L"");
    return text;
}

MailOutcome Outcome(ULONG result) {
    bool taken = result == SUCCESS_SUCCESS || result == MAPI_USER_ABORT || result == MAPI_E_LOGIN_FAILURE;
    return taken ? MailOutcome::kTaken : MailOutcome::kRefused;
}

// The message's texts as the mail program gets them: writable copies, as MAPI declares them.
template <typename String>
struct MailFields {
    String path;
    String fileName;
    String subject;
    String body;
};

template <typename String, typename File, typename Message>
ULONG Send(ULONG(WINAPI* send)(LHANDLE, ULONG_PTR, Message*, FLAGS, ULONG),
           HWND owner,
           MailFields<String>& fields,
           bool attached) {
    File file = {};
    file.nPosition = kNoPosition;
    file.lpszPathName = fields.path.data();
    file.lpszFileName = fields.fileName.data();

    Message message = {};
    message.lpszSubject = fields.subject.data();
    message.lpszNoteText = fields.body.data();
    message.nFileCount = attached ? 1 : 0;
    message.lpFiles = attached ? &file : nullptr;
    return send(0, reinterpret_cast<ULONG_PTR>(owner), &message, kSendMailFlags, 0);
}

}  // namespace

MailOutcome SendRecommendMail(HWND owner, const Text& attachment, const Text& subject, const Text& body) {
    if (owner == nullptr || !IsWindow(owner)) {
        return MailOutcome::kRefused;
    }
    HMODULE mapi = MailLibrary();
    if (mapi == nullptr) {
        return MailOutcome::kRefused;
    }
    MailSystem mail;
    mail.wide = MailFunction<SendMailWideFunction>(mapi, "MAPISendMailW");
    mail.ansi = MailFunction<SendMailFunction>(mapi, "MAPISendMail");
    mail.ansiCodePage = GetACP();
    mail.shortPath = SystemShortPath;
    if (mail.wide == nullptr && mail.ansi == nullptr) {
        return MailOutcome::kRefused;
    }
    return SendRecommendMailThrough(mail, owner, attachment, subject, body, languagePack.currentLanguage);
}

MailOutcome SendRecommendMailThrough(const MailSystem& mail,
                                     HWND owner,
                                     const Text& attachment,
                                     const Text& subject,
                                     const Text& body,
                                     int language) {
    Text mailSubject = subject;
    mailSubject.Replace(L"#AP#", productName);
    if (mailSubject.Length() >= kMaxFieldLength || attachment.Length() >= kMaxFieldLength) {
        return MailOutcome::kRefused;
    }
    const Text mailBody = MailBody(body, language);
    const bool attached = !attachment.Empty();
    if (mail.wide != nullptr) {
        MailFields<std::wstring> fields{attachment.c_str(), FileNameOfPath(attachment.c_str()).c_str(), mailSubject.c_str(),
                                        mailBody.c_str()};
        ULONG result = Send<std::wstring, WideMapiFile>(mail.wide, owner, fields, attached);
        // A mail program of its own may offer the call and still refuse it.
        if (result != MAPI_E_NOT_SUPPORTED || mail.ansi == nullptr) {
            return Outcome(result);
        }
    }
    if (mail.ansi == nullptr) {
        return MailOutcome::kRefused;
    }
    std::optional<std::string> path =
        attached ? PathInCodePage(attachment.c_str(), mail.ansiCodePage, mail.shortPath) : std::string();
    if (!path) {
        return MailOutcome::kAttachmentUnnamed;  // a "?" in the path would attach another file, or none
    }
    MailFields<std::string> fields{*path, Ansi(FileNameOfPath(attachment.c_str()), mail.ansiCodePage),
                                   Ansi(mailSubject, mail.ansiCodePage), Ansi(mailBody, mail.ansiCodePage)};
    return Outcome(Send<std::string, MapiFileDesc>(mail.ansi, owner, fields, attached));
}
