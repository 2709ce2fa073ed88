#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "common/path_names.h"
#include "common/scoped_handle.h"
#include "extras/program_menu.h"
#include "extras/uninstall.h"
#include "extras/web_pages.h"
#include "resource_ids.h"
#include "unit/support/english_pack.h"
#include "unit/support/read_menu_item.h"

namespace {

constexpr UINT kWesternCodePage = 1252;

std::wstring Wide(const Text& text) {
    return text.c_str();
}

class ProgramMenu : public EnglishPackTest {};

}  // namespace

TEST(WebBase, IsGermanForGermanElseEuropeanWithinFourHoursOfUtc) {
    struct Case {
        int language;
        std::optional<LONG> bias;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {kGerman, -241, L"http://www.velmora-soft.de"},
        {kGerman, std::nullopt, L"http://www.velmora-soft.de"},
        {kEnglish, -241, L"http://www.velmora-soft.com"},
        {kEnglish, -240, L"http://www.velmora-soft.eu"},
        {kEnglish, -60, L"http://www.velmora-soft.eu"},
        {kEnglish, 240, L"http://www.velmora-soft.eu"},
        {kEnglish, 241, L"http://www.velmora-soft.com"},
        {kEnglish, -300, L"http://www.velmora-soft.com"},
        {kEnglish, 300, L"http://www.velmora-soft.com"},
        {kEnglish, std::nullopt, L"http://www.velmora-soft.com"},
        {5, 0, L"http://www.velmora-soft.eu"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Wide(WebBaseFor(c.language, c.bias)), c.expected)
            << "language " << c.language << ", bias " << (c.bias ? *c.bias : 99999);
    }
}

TEST_F(ProgramMenu, OpensEachPageOnTheSiteOfTheLanguage) {
    const Text base = L"http://www.velmora-soft.eu";
    struct Case {
        UINT command;
        int language;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {IDC_FAQ, kEnglish, L"http://www.velmora-soft.eu/?seite=faq-Velmora"},
        {IDM_NEWEST_VERSION, kEnglish, L"http://www.velmora-soft.eu/?seite=Microsoft/Velmora"},
        // The history ignores the time zone: its site follows from the language alone.
        {IDM_HISTORY, kEnglish, L"http://www.velmora-soft.com/?seite=Microsoft/Velmora/History"},
        {IDM_HISTORY, kGerman, L"http://www.velmora-soft.de/?seite=Microsoft/Velmora/History"},
        {IDM_LICENSE, kEnglish, L"http://www.velmora-soft.eu/?seite=Microsoft/Velmora/Eula"},
        {IDM_LICENSE, kGerman, L"http://www.velmora-soft.eu/?seite=Microsoft/Velmora/Lizenz"},
        {IDC_LINK_BAR_PLACE, kEnglish, L"http://www.velmora-soft.eu/?seite=Microsoft/Velmora/Thanks"},
        {IDC_LINK_BAR_PLACE, kGerman, L"http://www.velmora-soft.eu/?seite=Microsoft/Velmora/Danke"},
        {IDM_UNINSTALL, kEnglish, L"http://www.velmora-soft.eu?seite=Microsoft/Velmora/Uninstall"},
        {IDM_RECOMMEND, kEnglish, L""},
        {IDM_SEND_ZIP, kEnglish, L""},
        {IDM_EXIT, kEnglish, L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Wide(WebCommandAddress(c.command, c.language, base)), c.expected)
            << "command " << c.command << ", language " << c.language;
    }
}

TEST_F(ProgramMenu, HoldsPagesUninstallMailAndExitUnderProgram) {
    ScopedMenu bar(BuildProgramMenu());
    ASSERT_TRUE(bar);
    ASSERT_EQ(GetMenuItemCount(bar.Get()), 1);
    EXPECT_EQ(ReadMenuItem(bar.Get(), 0).text, L"Program");
    HMENU popup = GetSubMenu(bar.Get(), 0);
    ASSERT_NE(popup, nullptr);
    const MenuItemView expected[] = {
        {IDC_FAQ, MFT_STRING, L"FAQ\t(# ?)"},
        {IDM_NEWEST_VERSION, MFT_STRING, L"Newest version?"},
        {IDM_HISTORY, MFT_STRING, L"History"},
        {0, MFT_SEPARATOR, L""},
        {IDM_UNINSTALL, MFT_STRING, L"Uninstall"},
        {IDM_LICENSE, MFT_STRING, L"License (EULA)"},
        {0, MFT_SEPARATOR, L""},
        {IDM_RECOMMEND, MFT_STRING, L"Recommend Velmora "},
        {IDM_SEND_ZIP, MFT_STRING, L"Send Velmora via e-mail"},
        {0, MFT_SEPARATOR, L""},
        {IDM_TO_TRAY, MFT_STRING, L"To-Tray"},
        {IDM_EXIT, MFT_STRING, L"Exit"},
    };
    ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(std::size(expected)));
    for (int i = 0; i < GetMenuItemCount(popup); ++i) {
        MenuItemView item = ReadMenuItem(popup, i);
        EXPECT_EQ(item.type, expected[i].type) << "position " << i;
        if (expected[i].type == MFT_STRING) {
            EXPECT_EQ(item.id, expected[i].id) << "position " << i;
            EXPECT_EQ(item.text, expected[i].text) << "position " << i;
        }
    }
}

TEST(FileNameOfPath, IsWhatFollowsTheLastSlashOfEitherKind) {
    EXPECT_EQ(Wide(FileNameOfPath(L"C:\\Tools\\Velmora.exe")), L"Velmora.exe");
    EXPECT_EQ(Wide(FileNameOfPath(L"C:/Tools/sub/Velmora 2.exe")), L"Velmora 2.exe");
    EXPECT_EQ(Wide(FileNameOfPath(L"C:\\Tools/mixed\\v.exe")), L"v.exe");
    EXPECT_EQ(Wide(FileNameOfPath(L"Velmora.exe")), L"Velmora.exe");
    EXPECT_EQ(Wide(FileNameOfPath(L"C:\\Tools\\")), L"");
}

namespace {

std::wstring NoShortForm(const wchar_t*) {
    return L"";
}
std::wstring AsciiShortForm(const wchar_t*) {
    return L"C:\\LODZ~1\\VELMORA.EXE";
}
std::wstring UnrepresentableShortForm(const wchar_t*) {
    return L"C:\\\x0141ODZ~1\\VELMORA.EXE";
}
// Windows on a volume without 8.3 names: the lookup succeeds and answers with the long path.
std::wstring UnchangedShortForm(const wchar_t* path) {
    return path;
}

}  // namespace

TEST(SelfDeleteBatch, WaitsForTheExeThenDeletesTheIniAndItselfNamingEachPathLiterally) {
    EXPECT_EQ(SelfDeleteBatchText(L"C:\\Tools\\Velmora.exe", L"C:\\Tools\\Velmora.ini",
                                  L"C:\\Temp\\Velmora.exe_selfdestruct.bat", kWesternCodePage, NoShortForm),
              "set tries=0\r\n"
              ":Repeat\r\n"
              "DEL \"C:\\Tools\\Velmora.exe\"\r\n"
              "if not exist \"C:\\Tools\\Velmora.exe\" goto Removed\r\n"
              "set /a tries+=1\r\n"
              "if %tries% GEQ 60 goto Done\r\n"
              "ping -n 2 127.0.0.1 >NUL\r\n"
              "goto Repeat\r\n"
              ":Removed\r\n"
              "DEL \"C:\\Tools\\Velmora.ini\"\r\n"
              ":Done\r\n"
              "DEL \"C:\\Temp\\Velmora.exe_selfdestruct.bat\"\r\n");

    // Inside quotes "&", "^" and spaces are plain characters; "%" is expanded even there.
    std::string special = SelfDeleteBatchText(L"C:\\50%off & more\\a^b\\V%PATH%.exe", L"C:\\x\\V.ini", L"C:\\T\\b.bat",
                                              kWesternCodePage, NoShortForm);
    EXPECT_NE(special.find("DEL \"C:\\50%%off & more\\a^b\\V%%PATH%%.exe\"\r\n"), std::string::npos) << special;
    EXPECT_NE(special.find("if not exist \"C:\\50%%off & more\\a^b\\V%%PATH%%.exe\" goto"), std::string::npos);

    // A character the code page has is written in that code page's byte.
    std::string accented =
        SelfDeleteBatchText(L"C:\\Jos\x00E9\\V.exe", L"C:\\V.ini", L"C:\\V.bat", kWesternCodePage, NoShortForm);
    EXPECT_NE(accented.find("DEL \"C:\\Jos\xE9\\V.exe\""), std::string::npos) << accented;
}

TEST(SelfDeleteBatch, NamesAPathTheCodePageLacksByItsShortFormOrNotAtAll) {
    // Best fit would write "Lodz" for "Łodz": DEL would then remove some other folder's file.
    const wchar_t* exe = L"C:\\\x0141odz\\Velmora.exe";
    std::string shortened = SelfDeleteBatchText(exe, L"C:\\V.ini", L"C:\\V.bat", kWesternCodePage, AsciiShortForm);
    EXPECT_NE(shortened.find("DEL \"C:\\LODZ~1\\VELMORA.EXE\"\r\nif not exist \"C:\\LODZ~1\\VELMORA.EXE\""),
              std::string::npos)
        << shortened;
    EXPECT_EQ(shortened.find("odz\\Velmora"), std::string::npos);

    EXPECT_EQ(SelfDeleteBatchText(exe, L"C:\\V.ini", L"C:\\V.bat", kWesternCodePage, NoShortForm), "");
    EXPECT_EQ(SelfDeleteBatchText(exe, L"C:\\V.ini", L"C:\\V.bat", kWesternCodePage, UnrepresentableShortForm), "");
    EXPECT_EQ(SelfDeleteBatchText(exe, L"C:\\V.ini", L"C:\\V.bat", kWesternCodePage, UnchangedShortForm), "");
    EXPECT_EQ(SelfDeleteBatchText(L"C:\\V.exe", L"C:\\\x4E2D\\V.ini", L"C:\\V.bat", kWesternCodePage, nullptr), "");
    EXPECT_EQ(SelfDeleteBatchText(L"C:\\V.exe", L"C:\\V.ini", L"C:\\\x4E2D\\V.bat", kWesternCodePage, NoShortForm), "");
}

// DEL refuses a path of MAX_PATH characters or more: such a path goes by its short form.
TEST(SelfDeleteBatch, NamesAPathOfMaxPathCharactersOrMoreByItsShortFormOrNotAtAll) {
    const std::wstring exe = L"C:\\" + std::wstring(MAX_PATH - 15, L'd') + L"\\Velmora.exe";
    ASSERT_EQ(exe.size(), size_t{MAX_PATH});
    std::string text = SelfDeleteBatchText(exe.c_str(), L"C:\\V.ini", L"C:\\V.bat", kWesternCodePage, AsciiShortForm);
    EXPECT_NE(text.find("DEL \"C:\\LODZ~1\\VELMORA.EXE\"\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("ddd"), std::string::npos);
    EXPECT_EQ(SelfDeleteBatchText(exe.c_str(), L"C:\\V.ini", L"C:\\V.bat", kWesternCodePage, NoShortForm), "");
    EXPECT_EQ(SelfDeleteBatchText(exe.c_str(), L"C:\\V.ini", L"C:\\V.bat", kWesternCodePage, UnchangedShortForm), "");

    const std::wstring fits = exe.substr(0, 3) + exe.substr(4);
    text = SelfDeleteBatchText(fits.c_str(), L"C:\\V.ini", L"C:\\V.bat", kWesternCodePage, AsciiShortForm);
    EXPECT_NE(text.find("DEL \"C:\\ddd"), std::string::npos);
}
