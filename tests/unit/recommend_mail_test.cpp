#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "extras/recommend_mail.h"
#include "lang/language_pack.h"
#include "mapi_stub/mail_record.h"
#include "unit/support/english_pack.h"

namespace {

int calls = 0;
std::string lastMail;
ULONG mapiResult = SUCCESS_SUCCESS;
ULONG wideResult = SUCCESS_SUCCESS;

ULONG WINAPI RecordMail(LHANDLE, ULONG_PTR owner, MapiMessage* message, FLAGS flags, ULONG) {
    ++calls;
    lastMail = MailRecord(owner, *message, flags);
    return mapiResult;
}

ULONG WINAPI RecordWideMail(LHANDLE, ULONG_PTR owner, WideMapiMessage* message, FLAGS flags, ULONG) {
    ++calls;
    lastMail = MailRecordW(owner, *message, flags);
    return wideResult;
}

std::wstring AsciiShortForm(const wchar_t*) {
    return L"C:\\TEMP~1\\VELMORA.ZIP";
}
// Windows on a volume without 8.3 names: the lookup succeeds and answers with the long path.
std::wstring UnchangedShortForm(const wchar_t* path) {
    return path;
}

const HWND kOwner = reinterpret_cast<HWND>(static_cast<INT_PTR>(70000));
const std::string kHeader = "owner 70000, flags 9, recipients 0, ";

class RecommendMail : public EnglishPackTest {
  protected:
    void SetUp() override {
        EnglishPackTest::SetUp();
        calls = 0;
        lastMail.clear();
        mapiResult = SUCCESS_SUCCESS;
        wideResult = SUCCESS_SUCCESS;
        mail_.ansi = RecordMail;
        mail_.ansiCodePage = 1252;
    }
    bool Send(const wchar_t* attachment, const wchar_t* subject, const wchar_t* body, int language = kEnglish) {
        return SendThrough(attachment, subject, body, language) == MailOutcome::kTaken;
    }
    MailOutcome SendThrough(const wchar_t* attachment,
                            const wchar_t* subject,
                            const wchar_t* body,
                            int language = kEnglish) {
        return SendRecommendMailThrough(mail_, kOwner, attachment, subject, body, language);
    }

    MailSystem mail_;
};

}  // namespace

TEST_F(RecommendMail, EnglishMessageNamesTheProductHasCrLfLinesAndGoesToNoOneWithoutFile) {
    ASSERT_TRUE(Send(L"", GetText(240), GetText(241)));
    EXPECT_EQ(lastMail, kHeader +
                            "files 0\nsubject Velmora tip for U!\nbody  Hello,\r\n \r\n I found Velmora . \r\n \r\n "
                            ".....................................\r\n \r\n "
                            "website: http://www.velmora-soft.com/donate.php?seite=PayPal&Program=Velmora\r\n "
                            "download: http://www.velmora-soft.com/download.php?Download=Velmora\r\n ");
}

TEST_F(RecommendMail, AttachmentIsOneFileShownByTheNameAfterItsLastBackslash) {
    ASSERT_TRUE(Send(L"C:\\users\\me\\Temp\\Velmora.zip", L"s", L"b"));
    EXPECT_EQ(lastMail, kHeader +
                            "files 1\nfile C:\\users\\me\\Temp\\Velmora.zip as Velmora.zip at 4294967295\n"
                            "subject s\nbody b");
    ASSERT_TRUE(Send(L"Velmora.zip", L"s", L"b"));
    EXPECT_EQ(lastMail, kHeader + "files 1\nfile Velmora.zip as Velmora.zip at 4294967295\nsubject s\nbody b");
}

TEST_F(RecommendMail, GermanLinksToTheGermanPageEveryOtherLanguageToTheInternationalOne) {
    const std::string german = "http://www.velmora-soft.de/donate.php?seite=PayPal&Program=Velmora";
    const std::string international = "http://www.velmora-soft.com/donate.php?seite=PayPal&Program=Velmora";
    ASSERT_TRUE(Send(L"", L"s", L"#IN#|#DL#|#AP#", kGerman));
    EXPECT_EQ(lastMail, kHeader + "files 0\nsubject s\nbody " + german + "|" + german + "|Velmora");
    for (int language : {kEnglish, 5}) {
        ASSERT_TRUE(Send(L"", L"s", L"#IN#|#DL#", language));
        EXPECT_EQ(lastMail, kHeader + "files 0\nsubject s\nbody " + international + "|" + international);
    }
}

TEST_F(RecommendMail, SubjectOrAttachmentOf260CharactersOrMoreIsRefusedUnsent) {
    const std::wstring longest(259, L'x');
    ASSERT_TRUE(Send(longest.c_str(), longest.c_str(), L"b"));
    const std::wstring tooLong(260, L'x');
    // "#AP#" grows by three characters when the product name takes its place.
    const std::wstring growsTooLong = std::wstring(256, L'x') + L"#AP#";
    EXPECT_FALSE(Send(L"", tooLong.c_str(), L"b"));
    EXPECT_FALSE(Send(tooLong.c_str(), L"s", L"b"));
    EXPECT_FALSE(Send(L"", growsTooLong.c_str(), L"b"));
    EXPECT_EQ(calls, 1);
}

TEST_F(RecommendMail, SentAbortedAndNotLoggedOnCountAsSuccessOtherResultsAsFailure) {
    for (ULONG result : {SUCCESS_SUCCESS, MAPI_USER_ABORT, MAPI_E_LOGIN_FAILURE}) {
        mapiResult = result;
        EXPECT_TRUE(Send(L"", L"s", L"b")) << result;
    }
    for (ULONG result : {MAPI_E_FAILURE, MAPI_E_ATTACHMENT_NOT_FOUND, MAPI_E_NOT_SUPPORTED}) {
        mapiResult = result;
        EXPECT_FALSE(Send(L"", L"s", L"b")) << result;
    }
}

TEST_F(RecommendMail, WithoutAValidOwnerNothingIsSentAndNoMailProgramLoaded) {
    HWND gone = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(gone, nullptr);
    DestroyWindow(gone);
    EXPECT_EQ(SendRecommendMail(nullptr, L"", L"s", L"b"), MailOutcome::kRefused);
    EXPECT_EQ(SendRecommendMail(gone, L"", L"s", L"b"), MailOutcome::kRefused);
    EXPECT_EQ(GetModuleHandleW(L"MAPI32.DLL"), nullptr);
}

// The Unicode call keeps every character; in the ANSI call the texts lose what the code page
// lacks, and the attachment goes by its short form rather than by a path with "?" in it.
TEST_F(RecommendMail, UnicodeCallWhereThereIsOneAnsiWithTheShortPathOtherwiseOrTheUserIsTold) {
    const wchar_t* path = L"C:\\\x0412\x0440\x0435\x043C\x044F\\Velmora.zip";
    const wchar_t* subject = L"#AP# \x2014 \x0441\x043E\x0432\x0435\x0442";
    mail_.wide = RecordWideMail;
    ASSERT_EQ(SendThrough(path, subject, L"b"), MailOutcome::kTaken);
    EXPECT_EQ(lastMail, "MAPISendMailW\n" + kHeader +
                            "files 1\nfile C:\\\xD0\x92\xD1\x80\xD0\xB5\xD0\xBC\xD1\x8F\\Velmora.zip as "
                            "Velmora.zip at 4294967295\nsubject Velmora \xE2\x80\x94 "
                            "\xD1\x81\xD0\xBE\xD0\xB2\xD0\xB5\xD1\x82\nbody b");

    // A mail program that offers the Unicode call but refuses it gets the ANSI one.
    wideResult = MAPI_E_NOT_SUPPORTED;
    mail_.shortPath = AsciiShortForm;
    ASSERT_EQ(SendThrough(path, subject, L"b"), MailOutcome::kTaken);
    EXPECT_EQ(lastMail, kHeader +
                            "files 1\nfile C:\\TEMP~1\\VELMORA.ZIP as Velmora.zip at 4294967295\n"
                            "subject Velmora \x97 ?????\nbody b");
    EXPECT_EQ(calls, 3);

    // No short form: the mail is not sent with another file or none.
    mail_.wide = nullptr;
    for (ShortPathLookup none : {static_cast<ShortPathLookup>(nullptr), UnchangedShortForm}) {
        mail_.shortPath = none;
        EXPECT_EQ(SendThrough(path, subject, L"b"), MailOutcome::kAttachmentUnnamed);
    }
    EXPECT_EQ(calls, 3);
}
