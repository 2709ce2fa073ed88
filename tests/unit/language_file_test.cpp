#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "lang/language_file.h"
#include "unit/support/english_pack.h"

namespace {

// A file in the temporary folder, removed at the end of the test.
class TempFile {
  public:
    explicit TempFile(const std::string& bytes) {
        wchar_t folder[MAX_PATH] = L"";
        wchar_t name[MAX_PATH] = L"";
        GetTempPathW(MAX_PATH, folder);
        GetTempFileNameW(folder, L"lng", 0, name);
        path_ = name;
        HANDLE file = CreateFileW(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }
    ~TempFile() { DeleteFileW(path_.c_str()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const wchar_t* Path() const { return path_.c_str(); }

  private:
    std::wstring path_;
};

std::string Utf16File(const Text& text) {
    std::string bytes = "\xFF\xFE";
    bytes.append(reinterpret_cast<const char*>(text.c_str()), static_cast<size_t>(text.Length()) * 2);
    return bytes;
}

TEST(LanguageExport, FileNameAndContentAreExactlyWhatTranslatorsGet) {
    EXPECT_EQ(TranslationExportName(L"Velmora 5.41"), L"translate_Velmora_5.41.txt");
    LanguagePack pack;
    pack.headerStrings[19] = L"Velmora 5.41";
    pack.headerStrings[25] = L"Send it back.\r\nThanks";
    pack.languageCount = 2;
    pack.languageName[1] = L"English\tEnglisch";
    wcscpy(pack.englishReference, L"\nTranslatorName=Me\r\n20=Preferences\r\n");
    EXPECT_EQ(TranslationExportText(pack),
              L"\r\nPlease don't forget! Write in e-mail subject: Strings for: Velmora 5.41 and Language Name : "
              L"German / Deutsch \r\n\r\nSend it back.\r\nThanks\r\n\r\n##=English\tEnglisch\r\n\r\n"
              L"\nTranslatorName=Me\r\n20=Preferences\r\n\r\n\r\n");
}

class LanguageFile : public EnglishPackTest {};

TEST_F(LanguageFile, ExportOfTheStoredPackReadsBackComplete) {
    const Text exported = TranslationExportText(languagePack);
    TempFile file(Utf16File(exported));
    Text text;
    ASSERT_TRUE(ReadTextFile(file.Path(), text));
    EXPECT_EQ(text, exported);
    const wchar_t* entries[kTextIds] = {};
    FillEntries(text.GetBuffer(text.Length()), entries, kTextIds, false);
    EXPECT_EQ(CompletenessReport(entries, languagePack.strings[kEnglish]), L"100 %");
    EXPECT_STREQ(entries[223], L"Are you sure?");
    EXPECT_STREQ(entries[0], languagePack.strings[kEnglish][0]);
}

TEST_F(LanguageFile, ReportListsNineMissingTextsThenOnlyIds) {
    const wchar_t* const* english = languagePack.strings[kEnglish];
    const wchar_t* entries[kTextIds] = {};
    for (int id = 0; id < kTextIds; ++id) {
        entries[id] = english[id];
    }
    for (int id : {20, 21, 25, 26, 28, 31, 32, 40, 41, 42, 43, 44}) {
        entries[id] = id % 2 ? nullptr : L"";  // absent and empty both count as missing
    }
    EXPECT_EQ(CompletenessReport(entries, english),
              L"73 %\n\nmiss:\n20=Preferences\n21=Start with Windows\n25=Disable\n26=Options\n"
              L"28=Always start minimized (ToTray)\n31=Always on Top\n32=Desktop context menu \n"
              L"40=Show via desktop click:\n41=Left mouse button \n...and...\n42,43,44,");

    const wchar_t* nothing[kTextIds] = {};
    const std::wstring all = CompletenessReport(nothing, english).c_str();
    EXPECT_EQ(all.rfind(L"0 %\n\nmiss:\n0=" + std::wstring(english[0]) + L"\n20=Preferences\n", 0), 0u) << all;
    const std::wstring tail =
        L"\n40=Show via desktop click:\n...and...\n41,42,43,44,45,46,47,48,49,50,51,52,53,54,55,56,57,60,61,62,63,"
        L"202,203,212,222,223,224,240,241,242,243,244,245,246,247,248,249,250,251,252,253,";
    EXPECT_EQ(all.substr(all.size() - tail.size()), tail);
}

TEST(LanguageFileReader, ReadsUtf16WholeAndAnsiWithoutSplittingCharacters) {
    Text missing(L"kept");
    EXPECT_FALSE(ReadTextFile(L"C:\\no such folder\\none.txt", missing));
    EXPECT_EQ(missing, L"kept");

    // Longer than one 1024-byte block, so the blocks must join seamlessly.
    Text longText;
    for (int line = 0; line < 100; ++line) {
        longText += Text::Format(L"%d=\x0444\x0430\x0439\x043B %d\r\n", line, line);
    }
    TempFile utf16(Utf16File(longText));
    Text read(L"before:");
    ASSERT_TRUE(ReadTextFile(utf16.Path(), read));
    EXPECT_EQ(read, Text(L"before:") + longText);

    // Without its byte-order mark UTF-16 is ANSI text: it ends at the first zero byte.
    TempFile unmarked(std::string("2\0=\0", 4));
    Text ansi;
    ASSERT_TRUE(ReadTextFile(unmarked.Path(), ansi));
    EXPECT_EQ(ansi, L"2");

    // A Shift-JIS character across bytes 1023 and 1024.
    std::string shiftJis(1023, 'a');
    shiftJis += "\x93\xFA=x";  // U+65E5
    TempFile straddling(shiftJis);
    Text japanese;
    ASSERT_TRUE(ReadTextFile(straddling.Path(), japanese, 932));
    ASSERT_EQ(japanese.Length(), 1026);
    EXPECT_EQ(std::wstring(japanese.c_str() + 1023), L"\x65E5=x");
}

}  // namespace
