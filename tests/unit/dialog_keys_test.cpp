#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "appearance/menu_navigation.h"
#include "dialog/dialog_texts.h"
#include "lang/language_pack.h"
#include "lang/text_ids.h"
#include "unit/support/english_pack.h"

namespace {

wchar_t Upper(wchar_t letter) {
    wchar_t buffer[2] = {letter, L'\0'};
    CharUpperBuffW(buffer, 1);
    return buffer[0];
}

// The letter after a single "&", upper-cased; 0 when the text marks none.
wchar_t MarkedLetter(const std::wstring& text) {
    for (size_t at = 0; at + 1 < text.size(); ++at) {
        if (text[at] == L'&') {
            if (text[at + 1] != L'&') {
                return Upper(text[at + 1]);
            }
            ++at;
        }
    }
    return 0;
}

std::string Utf8(const std::wstring& text) {
    std::string bytes(text.size() * 3, '\0');
    bytes.resize(
        static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(),
                                                static_cast<int>(bytes.size()), nullptr, nullptr)));
    return bytes;
}

struct KeyText {
    std::wstring text;
    wchar_t letter;
};

// Every pair of different texts in one dialog that answer to the same letter, as lines.
std::vector<std::string> Clashes(const std::vector<KeyText>& texts, int language) {
    std::map<wchar_t, std::wstring> owners;
    std::vector<std::string> clashes;
    for (const KeyText& key : texts) {
        if (key.letter == 0) {
            continue;
        }
        auto [owner, fresh] = owners.emplace(key.letter, key.text);
        if (!fresh && owner->second != key.text) {
            clashes.push_back("language " + std::to_string(language) + ": \"" + Utf8(owner->second) + "\" and \"" +
                              Utf8(key.text) + "\"");
        }
    }
    return clashes;
}

class DialogKeys : public EnglishPackTest {};

}  // namespace

TEST_F(DialogKeys, NoTwoTextsOfADialogAnswerToTheSameAltLetterInAnyLanguage) {
    ASSERT_GE(languagePack.languageCount, 43);
    std::vector<std::string> clashes;
    for (int language = 0; language < languagePack.languageCount; ++language) {
        UseLanguage(language);
        std::vector<KeyText> settingsDialog;
        for (const DialogKeyText& key : DialogKeyTexts()) {
            const std::wstring text = key.text.c_str();
            const wchar_t letter = key.menuBarButton ? Upper(ButtonAccelerator(text.c_str())) : MarkedLetter(text);
            settingsDialog.push_back({text, letter});
        }
        EXPECT_GT(settingsDialog.size(), 20u);
        for (const std::string& clash : Clashes(settingsDialog, language)) {
            clashes.push_back("settings dialog, " + clash);
        }
        std::vector<KeyText> hotKeyDialog;
        for (const wchar_t* text : {GetText(kTextHotkey), L"OK", GetText(kTextCancel)}) {
            hotKeyDialog.push_back({text, MarkedLetter(text)});
        }
        for (const std::string& clash : Clashes(hotKeyDialog, language)) {
            clashes.push_back("hot-key dialog, " + clash);
        }
    }
    std::string report;
    for (const std::string& clash : clashes) {
        report += clash + "\n";
    }
    EXPECT_TRUE(clashes.empty()) << report;
}
