#include "extras/recommend_mail.h"

#include <string>

#include "common/program.h"
#include "lang/language_pack.h"

namespace {

// Mail programs copy the subject and the attachment path into buffers of MAX_PATH characters.
constexpr int kMaxFieldLength = MAX_PATH;
constexpr ULONG kSendMailFlags = MAPI_LOGON_UI | MAPI_DIALOG;
constexpr ULONG kNoPosition = 0xFFFFFFFF;  // the attachment is not placed inside the text
constexpr int kGermanLinkHeader = 23;      // header texts with the maker's page for the mail
constexpr int kInternationalLinkHeader = 24;

SendMailFunction LoadSendMail() {
    // Loaded once and kept: mail programs do not expect to be unloaded while they run.
    static HMODULE mapi = LoadLibraryW(L"MAPI32.DLL");
    if (mapi == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<SendMailFunction>(reinterpret_cast<void*>(GetProcAddress(mapi, "MAPISendMail")));
}

// The text in the ANSI code page. Sized by the conversion itself: a code page such as UTF-8
// needs three bytes for one UTF-16 unit.
std::string Ansi(const Text& text) {
    if (text.Empty()) {
        return std::string();
    }
    int bytes = WideCharToMultiByte(CP_ACP, 0, text.c_str(), text.Length(), nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) {
        return std::string();
    }
    std::string converted(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), text.Length(), converted.data(), bytes, nullptr, nullptr);
    return converted;
}

Text FileNameOf(const Text& path) {
    int start = 0;
    for (int at = path.Find(L'\\'); at >= 0; at = path.Find(L'\\', at + 1)) {
        start = at + 1;
    }
    return Text(path.c_str() + start);
}

// The stored body keeps its line ends as the two characters backslash and r or n.
Text MailBody(const Text& body, int language) {
    const wchar_t* link = GetHeaderText(language == kGerman ? kGermanLinkHeader : kInternationalLinkHeader);
    Text text = body;
    text.Replace(L"#AP#", productName);
    text.Replace(L"\\r", L"\r");
    text.Replace(L"\\n", L"\n");
    text.Replace(L"#IN#", link != nullptr ? link : L"");
    text.Replace(L"#DL#", link != nullptr ? link : L"");
    return text;
}

bool MailTookIt(ULONG result) {
    return result == SUCCESS_SUCCESS || result == MAPI_USER_ABORT || result == MAPI_E_LOGIN_FAILURE;
}

}  // namespace

bool SendRecommendMail(HWND owner, const Text& attachment, const Text& subject, const Text& body) {
    if (owner == nullptr || !IsWindow(owner)) {
        return false;
    }
    SendMailFunction send = LoadSendMail();
    if (send == nullptr) {
        return false;
    }
    return SendRecommendMailThrough(send, owner, attachment, subject, body, languagePack.currentLanguage);
}

bool SendRecommendMailThrough(SendMailFunction send,
                              HWND owner,
                              const Text& attachment,
                              const Text& subject,
                              const Text& body,
                              int language) {
    Text mailSubject = subject;
    mailSubject.Replace(L"#AP#", productName);
    if (mailSubject.Length() >= kMaxFieldLength || attachment.Length() >= kMaxFieldLength) {
        return false;
    }
    std::string path = Ansi(attachment);
    std::string fileName = Ansi(FileNameOf(attachment));
    std::string subjectBytes = Ansi(mailSubject);
    std::string bodyBytes = Ansi(MailBody(body, language));

    MapiFileDesc file = {};
    file.nPosition = kNoPosition;
    file.lpszPathName = path.data();
    file.lpszFileName = fileName.data();

    MapiMessage message = {};
    message.lpszSubject = subjectBytes.data();
    message.lpszNoteText = bodyBytes.data();
    message.nFileCount = attachment.Empty() ? 0 : 1;
    message.lpFiles = attachment.Empty() ? nullptr : &file;
    return MailTookIt(send(0, reinterpret_cast<ULONG_PTR>(owner), &message, kSendMailFlags, 0));
}
