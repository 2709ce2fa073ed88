#include <gtest/gtest.h>

#include "dialog/colour_choice.h"

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
