#include <gtest/gtest.h>

#include <string>

#include "common/scoped_handle.h"
#include "dialog/colour_choice.h"
#include "dialog/more_options_menu.h"
#include "resource_ids.h"
#include "settings/settings.h"
#include "settings/writable_settings.h"

TEST(ColourMenuText, NoColourShowsTheTextAlone) {
    EXPECT_EQ(FormatColourMenuText(L"Change the desktop background to a color", -1),
              L"Change the desktop background to a color");
}

TEST(ColourMenuText, ColourReadsRedGreenBlueWhateverIsAboveTheBlueByte) {
    EXPECT_EQ(FormatColourMenuText(L"Colour", 255), L"Colour (0xFF0000)");
    EXPECT_EQ(FormatColourMenuText(L"Colour", 0x00804020), L"Colour (0x204080)");
    EXPECT_EQ(FormatColourMenuText(L"Colour", 0), L"Colour (0x000000)");
    EXPECT_EQ(FormatColourMenuText(L"Colour", 0xFFFFFF), L"Colour (0xFFFFFF)");
    EXPECT_EQ(FormatColourMenuText(L"Colour", 0x7F0000FF), L"Colour (0xFF0000)");
}

// The menu the user opens: the colour item is ticked exactly while a colour is set, black and
// white included, and names the colour.
TEST(ColourMenuItem, IsTickedAndNamesTheColourExactlyWhileOneIsSet) {
    const int saved = settings.m_wallpaper_color;
    struct Case {
        int colour;
        bool checked;
        const wchar_t* ending;  // null: no colour in the text
    };
    for (const Case& c : {Case{-1, false, nullptr}, Case{255, true, L" (0xFF0000)"}, Case{0, true, L" (0x000000)"},
                          Case{0xFFFFFF, true, L" (0xFFFFFF)"}}) {
        SCOPED_TRACE(c.colour);
        WritableSettings().m_wallpaper_color = c.colour;
        ScopedMenu menu(BuildMoreOptionsMenu());
        UINT state = GetMenuState(menu.Get(), IDM_DESKTOP_COLOUR, MF_BYCOMMAND);
        ASSERT_NE(state, static_cast<UINT>(-1));
        EXPECT_EQ((state & MF_CHECKED) != 0, c.checked);
        wchar_t text[256] = {};
        GetMenuStringW(menu.Get(), IDM_DESKTOP_COLOUR, text, 256, MF_BYCOMMAND);
        std::wstring item(text);
        if (c.ending == nullptr) {
            EXPECT_EQ(item.find(L"(0x"), std::wstring::npos) << item;
        } else {
            ASSERT_GE(item.size(), std::wstring(c.ending).size());
            EXPECT_EQ(item.substr(item.size() - std::wstring(c.ending).size()), c.ending);
        }
    }
    WritableSettings().m_wallpaper_color = saved;
}
