#include <gtest/gtest.h>

#include "app/command_line.h"
#include "settings/ini_store.h"

TEST(CommandLineWords, AreFoundAnywhereAsCaseSensitiveSubstrings) {
    EXPECT_EQ(ParseCommandLineWords(L"-bg").startInBackground, 1);
    EXPECT_EQ(ParseCommandLineWords(L"/x-bgy").startInBackground, 1);
    EXPECT_EQ(ParseCommandLineWords(L"-BG").startInBackground, 0);
    EXPECT_EQ(ParseCommandLineWords(L"exit").exitRequest, 45054);
    EXPECT_EQ(ParseCommandLineWords(L"/doexitnow").exitRequest, 45054);
    EXPECT_EQ(ParseCommandLineWords(L"EXIT").exitRequest, 0);
}

TEST(CommandLineWords, EmptyOrMissingCommandLineSetsNothing) {
    for (const wchar_t* line : {static_cast<const wchar_t*>(nullptr), L""}) {
        CommandLineWords words = ParseCommandLineWords(line);
        EXPECT_EQ(words.startInBackground, 0);
        EXPECT_EQ(words.exitRequest, 0);
    }
}

TEST(CommandLineWords, BothWordsAreSeen) {
    CommandLineWords words = ParseCommandLineWords(L"-bg exit");
    EXPECT_EQ(words.startInBackground, 1);
    EXPECT_EQ(words.exitRequest, 45054);
}

TEST(SettingsPathForExecutable, ReplacesOnlyTheFileNamesExtension) {
    EXPECT_EQ(SettingsPathForExecutable(L"C:\\Tools\\Velmora.exe"), L"C:\\Tools\\Velmora.ini");
    EXPECT_EQ(SettingsPathForExecutable(L"C:\\my.apps\\tool"), L"C:\\my.apps\\tool.ini");
    EXPECT_EQ(SettingsPathForExecutable(L"C:\\a\\tool.v2.exe"), L"C:\\a\\tool.v2.ini");
    EXPECT_EQ(SettingsPathForExecutable(L"C:\\a\\.hidden"), L"C:\\a\\.ini");
}
