#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "lang/language_pack.h"

namespace {

// A pack text in a buffer of its own, split into tables that point into that buffer.
class ParsedPack {
  public:
    explicit ParsedPack(const std::wstring& text) : text_(text.begin(), text.end()), pack_(new LanguagePack) {
        text_.push_back(L'\0');
        BuildLanguageTables(text_.data(), *pack_);
    }
    const LanguagePack& operator*() const { return *pack_; }
    const LanguagePack* operator->() const { return pack_.get(); }

  private:
    std::vector<wchar_t> text_;
    std::unique_ptr<LanguagePack> pack_;
};

const std::wstring kPreambleAndHeader =
    L"\xFEFFVelmora test pack\r\nVelmora Soft\r\n"
    L"##\r\n19=Velmora 5.41\r\n25=a\\r\\nb\r\n26=end\r\n\r\n"
    L"##\r\nLicence agreement\r\n\r\n"
    L"##\r\nLizenzvereinbarung\r\n\r\n";

const std::wstring kGerman =
    L"##=Deutsch\tGerman\r\nTranslatorName=Velmora Team\r\n"
    L"223=Sind Sie sicher?\r\n241=a\\r\\nb\r\n\r\n";

const std::wstring kEnglish =
    L"##=English\tEnglisch\r\nTranslatorName=Velmora Soft\r\n"
    L"20=Preferences\r\n\r\n[Uninstall]\r\n223=Are you sure?\r\n241=a\\r\\nb\r\n\r\n";

const std::wstring kSmallPack = kPreambleAndHeader + kGerman + kEnglish + L"##\r\n\r\n";

std::wstring EnglishWith(const std::wstring& entries) {
    return kPreambleAndHeader + L"##=Deutsch\tGerman\r\n" + entries + L"##=English\tEnglisch\r\n" + entries;
}

}  // namespace

TEST(LanguageTables, SplitsHeaderLicencesAndLanguagesAtMarkers) {
    ParsedPack pack(kSmallPack);
    EXPECT_EQ(pack->languageCount, 3);
    EXPECT_STREQ(pack->languageName[0], L"Deutsch\tGerman");
    EXPECT_STREQ(pack->languageName[1], L"English\tEnglisch");
    EXPECT_EQ(pack->languageName[2], nullptr);
    EXPECT_STREQ(pack->licenceText[0], L"Licence agreement\r\n\r\n");
    EXPECT_STREQ(pack->licenceText[1], L"Lizenzvereinbarung\r\n\r\n");
    EXPECT_STREQ(pack->headerStrings[19], L"Velmora 5.41");
    EXPECT_STREQ(pack->headerStrings[26], L"end");
    EXPECT_EQ(pack->headerStrings[20], nullptr);
    EXPECT_STREQ(pack->strings[0][223], L"Sind Sie sicher?");
    EXPECT_STREQ(pack->strings[1][223], L"Are you sure?");
    EXPECT_STREQ(pack->strings[1][0], L"Velmora Soft");
}

TEST(LanguageTables, HeaderValuesAreUnescapedLanguageValuesKeptVerbatim) {
    ParsedPack pack(kSmallPack);
    EXPECT_EQ(std::wstring(pack->headerStrings[25]), std::wstring(L"a\r\nb"));
    EXPECT_EQ(std::wstring(pack->strings[1][241]), std::wstring(L"a\\r\\nb"));
    EXPECT_EQ(std::wstring(pack->strings[0][241]), std::wstring(L"a\\r\\nb"));
}

TEST(LanguageTables, EnglishReferenceIsTheBodyAsItStoodBeforeSplitting) {
    ParsedPack pack(kSmallPack);
    EXPECT_EQ(std::wstring(pack->englishReference),
              L"\nTranslatorName=Velmora Soft\r\n20=Preferences\r\n\r\n[Uninstall]\r\n223=Are you sure?\r\n"
              L"241=a\\r\\nb\r\n\r\n");
}

TEST(LanguageTables, EntryIdsAreReadTheWayAtolReadsThem) {
    ParsedPack pack(
        EnglishWith(L"TranslatorName=Ann\r\nTranslatorURL=example.invalid\r\n"
                    L"300=too far\r\n-1=negative\r\n07=seven\r\n  12=blanks first\r\n"
                    L"+13=signed\r\n14=first\r\n14=second\r\nno equals sign\r\n"
                    L"15=a=b\r\n16=\r\n17=cr\rinside\r\n18=lf only\n19=unended"));
    const auto& english = pack->strings[1];
    EXPECT_STREQ(english[0], L"example.invalid");  // every credit line lands in id 0, the last wins
    EXPECT_STREQ(english[7], L"seven");
    EXPECT_STREQ(english[12], L"blanks first");
    EXPECT_STREQ(english[13], L"signed");
    EXPECT_STREQ(english[14], L"second");
    EXPECT_STREQ(english[15], L"a=b");
    EXPECT_STREQ(english[16], L"");
    EXPECT_STREQ(english[17], L"cr\rinside");
    EXPECT_STREQ(english[18], L"lf only");
    EXPECT_EQ(english[19], nullptr);  // the last line has no LF
    for (int id = 1; id < kTextIds; ++id) {
        bool expected = id == 7 || (id >= 12 && id <= 18);
        EXPECT_EQ(english[id] != nullptr, expected) << "id " << id;
    }
}

TEST(LanguageTables, CompletenessCountsTheNonEmptyEnglishTexts) {
    ParsedPack pack(kPreambleAndHeader + L"##=Half\tHalb\r\nTranslatorName=Y\r\n1=a\r\n2=\r\n4=d\r\n5=e\r\n" +
                    L"##=English\tEnglisch\r\nTranslatorName=X\r\n1=a\r\n2=b\r\n3=c\r\n4=\r\n" +
                    L"##=Quarter\tViertel\r\n2=x\r\n\r\n##\r\n\r\n");
    ASSERT_EQ(pack->languageCount, 4);
    EXPECT_EQ(pack->completeness[0], 50);  // ids 0 and 1 of the English 0, 1, 2 and 3
    EXPECT_EQ(pack->completeness[1], 100);
    EXPECT_EQ(pack->completeness[2], 25);
    EXPECT_EQ(pack->completeness[3], 0);
}

TEST(LanguageTables, SectionsPastTheFortyFourthRegisterNothing) {
    std::wstring text = kPreambleAndHeader;
    for (int i = 0; i < 50; ++i) {
        text += L"##=Language " + std::to_wstring(i) + L"\tName\r\n1=text " + std::to_wstring(i) + L"\r\n";
    }
    ParsedPack pack(text);
    EXPECT_EQ(pack->languageCount, kMaxLanguages);
    EXPECT_STREQ(pack->languageName[43], L"Language 43\tName");
    EXPECT_STREQ(pack->strings[43][1], L"text 43");  // its body ends at the 45th marker
}

TEST(LanguageTables, TextWithoutMarkersHasNoSections) {
    ParsedPack pack(L"just a preamble\r\n1=not an entry\r\n# single\r\n");
    EXPECT_EQ(pack->languageCount, 0);
    EXPECT_EQ(pack->licenceText[0], nullptr);
    for (int id = 0; id < kHeaderIds; ++id) {
        EXPECT_EQ(pack->headerStrings[id], nullptr);
    }
    EXPECT_STREQ(pack->englishReference, L"");
}

TEST(LanguageTables, NameLineWithoutCrEndsAtItsLineOrAtTheEnd) {
    ParsedPack lineFeedOnly(kPreambleAndHeader + L"##=Alpha\tA\n1=one\n##=Beta\tB\r\n1=two\r\n");
    EXPECT_EQ(lineFeedOnly->languageCount, 2);
    EXPECT_STREQ(lineFeedOnly->languageName[0], L"Alpha\tA");
    EXPECT_STREQ(lineFeedOnly->strings[0][1], L"one");
    EXPECT_STREQ(lineFeedOnly->languageName[1], L"Beta\tB");

    ParsedPack cutShort(kPreambleAndHeader + L"##=Gamma\tG");
    EXPECT_EQ(cutShort->languageCount, 1);
    EXPECT_STREQ(cutShort->languageName[0], L"Gamma\tG");
    EXPECT_STREQ(cutShort->languageBody[0], L"");

    ParsedPack markerAtTheEnd(L"##\r\n19=x\r\n##");
    EXPECT_STREQ(markerAtTheEnd->headerStrings[19], L"x");
    EXPECT_STREQ(markerAtTheEnd->licenceText[0], L"");
}

TEST(LanguageTables, EnglishReferenceIsCutToItsBuffer) {
    std::wstring entries = L"TranslatorName=X\r\n";
    for (int id = 1; id <= 200; ++id) {
        entries += std::to_wstring(id) + L"=some English text\r\n";
    }
    ParsedPack pack(EnglishWith(entries));
    EXPECT_EQ(std::wstring(pack->englishReference).size(), static_cast<size_t>(kEnglishReferenceUnits - 1));
    EXPECT_STREQ(pack->strings[1][200], L"some English text");
}

TEST(TerminateDecodedText, PutsTheTerminatorAfterTheTextInsideTheBuffer) {
    std::vector<uint8_t> buffer(16, 0xEE);
    EXPECT_EQ(TerminateDecodedText(buffer.data(), 16, 6), 6u);
    EXPECT_EQ(buffer[6], 0);
    EXPECT_EQ(buffer[7], 0);
    EXPECT_EQ(buffer[8], 0xEE);

    std::vector<uint8_t> full(16, 0xEE);
    EXPECT_EQ(TerminateDecodedText(full.data(), 16, 0xFFFFFFFFu), 14u);
    EXPECT_EQ(full[14], 0);
    EXPECT_EQ(full[15], 0);

    std::vector<uint8_t> odd(16, 0xEE);  // the whole unit after the text must read as zero
    EXPECT_EQ(TerminateDecodedText(odd.data(), 16, 5), 5u);
    EXPECT_EQ(odd[6], 0);
    EXPECT_EQ(odd[7], 0);
}

namespace {

// GetText and GetHeaderText read the process-wide pack: each test works on its own copy.
class TextLookup : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = std::make_unique<LanguagePack>(languagePack);
        text_.assign(kSmallPack.begin(), kSmallPack.end());
        text_.push_back(L'\0');
        BuildLanguageTables(text_.data(), languagePack);
        languagePack.customLoaded = false;
        languagePack.currentLanguage = 0;
    }
    void TearDown() override { languagePack = *saved_; }

    std::unique_ptr<LanguagePack> saved_;
    std::vector<wchar_t> text_;
};

}  // namespace

TEST_F(TextLookup, CurrentLanguageFirstThenEnglishThenEmpty) {
    EXPECT_STREQ(GetText(223), L"Sind Sie sicher?");
    EXPECT_STREQ(GetText(20), L"Preferences");
    EXPECT_STREQ(GetText(23), L"");
    EXPECT_STREQ(GetText(-1), L"");
    EXPECT_STREQ(GetText(256), L"");
}

TEST_F(TextLookup, LanguageOutsideThePackShowsEnglish) {
    for (int language : {2, 42, 43, 44, 99, -1}) {
        languagePack.currentLanguage = language;
        EXPECT_STREQ(GetText(223), L"Are you sure?") << "language " << language;
    }
}

TEST_F(TextLookup, LoadedLanguageFileAnswersAlone) {
    wchar_t file[] = L"223=Etes-vous s\x00FBr ?\r\n224=\r\n";
    FillEntries(file, languagePack.customStrings, kTextIds, false);
    languagePack.customLoaded = true;
    EXPECT_STREQ(GetText(223), L"Etes-vous s\x00FBr ?");
    EXPECT_STREQ(GetText(224), L"");
    EXPECT_STREQ(GetText(20), L"?.Str.?");
    EXPECT_STREQ(GetText(23), L"?.Str.?");
}

TEST_F(TextLookup, HeaderTextsByIdAndNullWhereAbsent) {
    EXPECT_STREQ(GetHeaderText(19), L"Velmora 5.41");
    EXPECT_EQ(GetHeaderText(20), nullptr);
    EXPECT_EQ(GetHeaderText(-1), nullptr);
    EXPECT_EQ(GetHeaderText(128), nullptr);
}
