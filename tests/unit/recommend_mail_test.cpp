#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "extras/recommend_mail.h"
#include "lang/language_pack.h"
#include "unit/support/english_pack.h"

namespace {

// What the stand-in for MAPISendMail was handed, copied while the records were alive.
struct SentMail {
    int calls = 0;
    ULONG_PTR owner = 0;
    FLAGS flags = 0;
    ULONG recipients = 0;
    bool recipientList = false;
    ULONG files = 0;
    bool fileList = false;
    ULONG position = 0;
    std::string path;
    std::string name;
    std::string subject;
    std::string body;
};

SentMail sent;
ULONG mapiResult = SUCCESS_SUCCESS;

std::string Copy(const char* text) {
    return text != nullptr ? text : "(null)";
}

ULONG WINAPI RecordMail(LHANDLE, ULONG_PTR owner, MapiMessage* message, FLAGS flags, ULONG) {
    ++sent.calls;
    sent.owner = owner;
    sent.flags = flags;
    sent.recipients = message->nRecipCount;
    sent.recipientList = message->lpRecips != nullptr || message->lpOriginator != nullptr;
    sent.files = message->nFileCount;
    sent.fileList = message->lpFiles != nullptr;
    if (message->nFileCount > 0) {
        sent.position = message->lpFiles->nPosition;
        sent.path = Copy(message->lpFiles->lpszPathName);
        sent.name = Copy(message->lpFiles->lpszFileName);
    }
    sent.subject = Copy(message->lpszSubject);
    sent.body = Copy(message->lpszNoteText);
    return mapiResult;
}

const HWND kOwner = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x10A2C));

class RecommendMail : public EnglishPackTest {
  protected:
    void SetUp() override {
        EnglishPackTest::SetUp();
        sent = SentMail();
        mapiResult = SUCCESS_SUCCESS;
    }
    bool Send(const wchar_t* attachment, const wchar_t* subject, const wchar_t* body, int language = kEnglish) {
        return SendRecommendMailThrough(RecordMail, kOwner, attachment, subject, body, language);
    }
};

}  // namespace

TEST_F(RecommendMail, EnglishMessageNamesTheProductHasCrLfLinesAndGoesToNoOne) {
    ASSERT_TRUE(Send(L"", GetText(240), GetText(241)));
    EXPECT_EQ(sent.calls, 1);
    EXPECT_EQ(sent.owner, reinterpret_cast<ULONG_PTR>(kOwner));
    EXPECT_EQ(sent.flags, static_cast<FLAGS>(MAPI_LOGON_UI | MAPI_DIALOG));
    EXPECT_EQ(sent.subject, "Velmora tip for U!");
    EXPECT_EQ(sent.body,
              " Hello,\r\n \r\n I found Velmora . \r\n \r\n .....................................\r\n \r\n "
              "website: http://www.velmora-soft.com/donate.php?seite=PayPal&Program=Velmora\r\n "
              "download: http://www.velmora-soft.com/download.php?Download=Velmora\r\n ");
    EXPECT_EQ(sent.recipients, 0u);
    EXPECT_FALSE(sent.recipientList);
    EXPECT_EQ(sent.files, 0u);
    EXPECT_FALSE(sent.fileList);
}

TEST_F(RecommendMail, AttachmentIsOneFileShownByTheNameAfterItsLastBackslash) {
    ASSERT_TRUE(Send(L"C:\\users\\me\\Temp\\Velmora.zip", L"s", L"b"));
    EXPECT_EQ(sent.files, 1u);
    EXPECT_EQ(sent.position, 0xFFFFFFFFu);
    EXPECT_EQ(sent.path, "C:\\users\\me\\Temp\\Velmora.zip");
    EXPECT_EQ(sent.name, "Velmora.zip");
    ASSERT_TRUE(Send(L"Velmora.zip", L"s", L"b"));
    EXPECT_EQ(sent.path, "Velmora.zip");
    EXPECT_EQ(sent.name, "Velmora.zip");
}

TEST_F(RecommendMail, GermanLinksToTheGermanPageEveryOtherLanguageToTheInternationalOne) {
    const std::string german = "http://www.velmora-soft.de/donate.php?seite=PayPal&Program=Velmora";
    const std::string international = "http://www.velmora-soft.com/donate.php?seite=PayPal&Program=Velmora";
    ASSERT_TRUE(Send(L"", L"s", L"#IN#|#DL#|#AP#", kGerman));
    EXPECT_EQ(sent.body, german + "|" + german + "|Velmora");
    for (int language : {kEnglish, 5}) {
        ASSERT_TRUE(Send(L"", L"s", L"#IN#|#DL#", language));
        EXPECT_EQ(sent.body, international + "|" + international);
    }
}

TEST_F(RecommendMail, SubjectOrAttachmentOf260CharactersOrMoreIsRefusedUnsent) {
    const std::wstring longest(259, L'x');
    ASSERT_TRUE(Send(longest.c_str(), longest.c_str(), L"b"));
    EXPECT_EQ(sent.subject.size(), 259u);
    EXPECT_EQ(sent.path.size(), 259u);
    const std::wstring tooLong(260, L'x');
    // "#AP#" grows by three characters when the product name takes its place.
    const std::wstring growsTooLong = std::wstring(256, L'x') + L"#AP#";
    EXPECT_FALSE(Send(L"", tooLong.c_str(), L"b"));
    EXPECT_FALSE(Send(tooLong.c_str(), L"s", L"b"));
    EXPECT_FALSE(Send(L"", growsTooLong.c_str(), L"b"));
    EXPECT_EQ(sent.calls, 1);
}

TEST_F(RecommendMail, SentAbortedAndNotLoggedOnCountAsSuccessOtherResultsAsFailure) {
    const struct {
        ULONG result;
        bool success;
    } cases[] = {{SUCCESS_SUCCESS, true},
                 {MAPI_USER_ABORT, true},
                 {MAPI_E_LOGIN_FAILURE, true},
                 {MAPI_E_FAILURE, false},
                 {MAPI_E_ATTACHMENT_NOT_FOUND, false},
                 {MAPI_E_NOT_SUPPORTED, false}};
    for (const auto& c : cases) {
        mapiResult = c.result;
        EXPECT_EQ(Send(L"", L"s", L"b"), c.success) << "result " << c.result;
    }
}

TEST_F(RecommendMail, WithoutAValidOwnerNothingIsSentAndNoMailProgramLoaded) {
    HWND gone = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(gone, nullptr);
    DestroyWindow(gone);
    EXPECT_FALSE(SendRecommendMail(nullptr, L"", L"s", L"b"));
    EXPECT_FALSE(SendRecommendMail(gone, L"", L"s", L"b"));
    EXPECT_EQ(GetModuleHandleW(L"MAPI32.DLL"), nullptr);
}
