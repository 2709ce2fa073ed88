#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "lang/default_language.h"
#include "lang/language_pack.h"
#include "lang/pack_decoder.h"
#include "lang/stored_pack.h"
#include "unit/support/english_pack.h"
#include "unit/support/program_resources.h"

namespace {

// The build hands over the source's path; in a cross build it is a Unix path, which Wine
// shows under drive Z:.
std::wstring SourcePath() {
    std::string path = VELMORA_PACK_SOURCE_PATH;
    std::wstring wide = path.rfind('/', 0) == 0 ? L"Z:" : L"";
    for (char c : path) {
        wide += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
    }
    return wide;
}

// What the stored pack must decode to: the source text as UTF-16LE behind a byte-order mark,
// converted here by Windows rather than by the tool that made the pack.
std::vector<uint8_t> ExpectedPackText() {
    HANDLE file = CreateFileW(SourcePath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string utf8(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ReadFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &read, nullptr);
    CloseHandle(file);
    int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(read), nullptr, 0);
    std::wstring text(static_cast<size_t>(units) + 1, L'\xFEFF');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(read), text.data() + 1, units);
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    return std::vector<uint8_t>(bytes, bytes + text.size() * sizeof(wchar_t));
}

const wchar_t* const kDisplayNames[] = {
    L"Deutsch\tGerman",
    L"English\tEnglisch",
    L"French\tFran\u00E7ais",
    L"Portugal\tPortugu\u00EAs",
    L"Russian\t\u0420\u0443\u0441\u0441\u043A\u0438\u0439",
    L"Italian\tItaliano",
    L"Hungarian\tUngarisch",
    L"Nederlands\tDutch",
    L"Turkish\tT\u00FCrk\u00E7e",
    L"Chinese-Traditional\t\u6B63\u9AD4\u4E2D\u6587",
    L"Romanian\tRom\u00E2n\u0103",
    L"Chinese Simple\t\u6B7B\u795E",
    L"Slovenski\tSlovenian",
    L"Vietnamese\tTi\u1EBFng Vi\u1EC7t (Vi\u1EC7t Nam)",
    L"Croatian\tHrvatski",
    L"Greek\t\u03B5\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC",
    L"Brazilian\tPortuguese ",
    (L"Adyghe (Kabardian)\t\u0410\u0434\u044B\u0433\u044D\u0431\u0437\u044D "
     L"(\u041A\u044A\u044D\u0431\u044D\u0440\u0434\u0435\u0439)"),
    L"Polish\tPolski",
    L"Japanese\t\u65E5\u672C\u8A9E",
    L"Swedish\tSvenska",
    L"Persian\t\u067E\u0627\u0631\u0633\u06CC",
    L"Hebrew\t\u05E2\u05D1\u05E8\u05D9\u05EA",
    L"Kabardian\tAdyghe",
    L"Bulgarian\t\u0411\u044A\u043B\u0433\u0430\u0440\u0441\u043A\u0438",
    L"Danish\tDansk",
    L"Arabic\t\u0627\u0644\u0639\u0631\u0628\u064A\u0629 ",
    L"Czech\t\u010Cesky",
    L"Korean\t\uD55C\uAD6D\uC5B4",
    L"Spanish\tEspa\u00F1ol",
    L"Afrikaans\tSouth-Africa",
    L"Norwegian\tNorsk",
    L"Irisch\tUnited Kingdom",
    L"Thai\t\u0E20\u0E32\u0E29\u0E32\u0E44\u0E17\u0E22",
    L"Spanish-VE\tVenezuela",
    L"Hindi\t\u0939\u093F\u0928\u094D\u0926\u0940",
    L"Welsh\tUnited Kingdom",
    L"Malay\tMalaysia",
    L"Indonesian\tIndonesia",
    L"Filipino\tPilipino",
    L"Finnish\tSuomi",
    L"Bosnian\tBosanski/Hrvatski/Srpski",
};

}  // namespace

TEST(StoredPack, DecodesToExactlyTheSourceTextFollowedByATerminator) {
    std::vector<uint8_t> expected = ExpectedPackText();
    ASSERT_GT(expected.size(), 100000u) << "cannot read the pack source";
    std::vector<uint8_t> buffer(kPackBufferBytes, 0xEE);
    packMemory.sourceBound = kStoredPackSize;
    packMemory.sinkCapacity = kPackBufferBytes;
    PackDecoder decoder;
    decoder.Decode(kStoredPack, buffer.data());
    EXPECT_EQ(decoder.DecodedLength(), expected.size());
    ASSERT_EQ(decoder.BytesStored(), expected.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), buffer.begin()));

    EXPECT_EQ(TerminateDecodedText(buffer.data(), kPackBufferBytes, decoder.DecodedLength()), expected.size());
    EXPECT_EQ(buffer[expected.size()], 0);
    EXPECT_EQ(buffer[expected.size() + 1], 0);
    std::wstring ending = L"##\r\n\r\n";
    const auto* last = reinterpret_cast<const wchar_t*>(buffer.data() + expected.size()) - ending.size();
    EXPECT_EQ(std::wstring(last, ending.size()), ending);
}

namespace {

class StoredPackTables : public EnglishPackTest {};

}  // namespace

TEST_F(StoredPackTables, RegistersFortyThreeLanguagesUnderTheirDisplayNames) {
    ASSERT_EQ(languagePack.languageCount, 43);
    for (int language = 0; language < 42; ++language) {
        ASSERT_NE(languagePack.languageName[language], nullptr) << "language " << language;
        EXPECT_STREQ(languagePack.languageName[language], kDisplayNames[language]) << "language " << language;
    }
    EXPECT_EQ(languagePack.languageName[42], nullptr);
}

TEST_F(StoredPackTables, EveryNamedLanguageIsComplete) {
    for (int language = 0; language < 42; ++language) {
        EXPECT_EQ(languagePack.completeness[language], 100) << "language " << language;
    }
    EXPECT_EQ(languagePack.completeness[42], 0);
    int englishTexts = 0;
    for (const wchar_t* text : languagePack.strings[kEnglish]) {
        englishTexts += (text != nullptr && text[0] != L'\0') ? 1 : 0;
    }
    EXPECT_EQ(englishTexts, 52);  // 51 texts and the translator's credit in id 0
}

TEST_F(StoredPackTables, EnglishTextsAreTheProgramsOwn) {
    EXPECT_STREQ(GetText(223), L"Are you sure?");
    EXPECT_STREQ(GetText(20), L"Preferences");
    EXPECT_STREQ(GetText(32), L"Desktop context menu ");
    EXPECT_STREQ(GetText(224), L"Delete the execution file #AP#. exe ");
    EXPECT_STREQ(GetText(23), L"");
    std::wstring mail = GetText(241);
    EXPECT_EQ(mail.rfind(L" Hello,\\r\\n \\r\\n I found #AP# . \\r\\n", 0), 0u);
    EXPECT_NE(mail.find(L" website: #IN#\\r\\n download: "), std::wstring::npos);
    EXPECT_NE(mail.find(L"?Download=#AP#\\r\\n "), std::wstring::npos);
    EXPECT_EQ(mail.find(L'\r'), std::wstring::npos);
}

TEST_F(StoredPackTables, UsersGetTheirOwnLanguageAndEnglishWhereThePackHasNone) {
    languagePack.currentLanguage = DefaultLanguageFor(0x0407);
    EXPECT_STREQ(GetText(223), L"Sind Sie sicher?");
    languagePack.currentLanguage = DefaultLanguageFor(0x0416);
    EXPECT_STREQ(GetText(223), L"Tem certeza?");
    languagePack.currentLanguage = DefaultLanguageFor(0x0436);
    EXPECT_STREQ(GetText(223), L"Are you sure?");
    for (int outside : {42, 99}) {
        languagePack.currentLanguage = outside;
        EXPECT_STREQ(GetText(223), L"Are you sure?");
    }
}

// The version is set in one place, the exe's FILEVERSION (CMake reads it from there): the
// resource's strings and the title in the pack must say the same.
TEST_F(StoredPackTables, TitleAndVersionResourceCarryTheOneVersion) {
    const std::wstring path = ProgramPath();
    DWORD unused = 0;
    std::vector<BYTE> info(GetFileVersionInfoSizeW(path.c_str(), &unused));
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    const std::wstring version =
        std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(fixed->dwFileVersionMS));
    const auto text = [&info](const wchar_t* name) {
        const std::wstring key = std::wstring(L"\\StringFileInfo\\040904b0\\") + name;
        wchar_t* value = nullptr;
        UINT chars = 0;
        return VerQueryValueW(info.data(), key.c_str(), reinterpret_cast<void**>(&value), &chars) ? std::wstring(value)
                                                                                                  : std::wstring();
    };
    EXPECT_EQ(text(L"FileVersion"), version);
    EXPECT_EQ(text(L"ProductVersion"), version);
    EXPECT_EQ(text(L"ProductName"), L"Velmora " + version);
    EXPECT_EQ(GetHeaderText(19), L"Velmora " + version);
    EXPECT_EQ(std::string(VELMORA_PROJECT_VERSION), std::string(version.begin(), version.end()));
}

TEST_F(StoredPackTables, HeaderNamesTheProductAndTheMakersPages) {
    EXPECT_STREQ(GetHeaderText(19), L"Velmora 5.41");
    EXPECT_STREQ(GetHeaderText(20), L"http://www.velmora-soft.de");
    EXPECT_STREQ(GetHeaderText(21), L"http://www.velmora-soft.com");
    std::wstring freeware = GetHeaderText(22);
    EXPECT_EQ(freeware.substr(freeware.size() - 13), L"velmora-soft.");  // the link bar adds "de" or "com"
    EXPECT_STREQ(GetHeaderText(23), L"http://www.velmora-soft.de/donate.php?seite=PayPal&Program=Velmora");
    EXPECT_STREQ(GetHeaderText(24), L"http://www.velmora-soft.com/donate.php?seite=PayPal&Program=Velmora");
    std::wstring request = GetHeaderText(25);
    EXPECT_NE(request.find(L"\r\n"), std::wstring::npos);
    EXPECT_EQ(request.find(L'\\'), std::wstring::npos);
    EXPECT_STREQ(GetHeaderText(26), L"end");
}

TEST_F(StoredPackTables, EnglishReferenceHoldsTheWholeEnglishBody) {
    std::wstring reference = languagePack.englishReference;
    EXPECT_EQ(reference.rfind(L"\nTranslatorName=Velmora Soft\r\n20=Preferences\r\n", 0), 0u);
    const std::wstring last = L"253=Hide the icons by a double-click on the desktop\r\n\r\n";
    EXPECT_EQ(reference.substr(reference.size() - last.size()), last);
    EXPECT_NE(reference.find(L"\r\n[Uninstall]\r\n202=Uninstall\r\n"), std::wstring::npos);
}
