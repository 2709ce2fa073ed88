#include <gtest/gtest.h>

#include <climits>

#include "settings/settings.h"

TEST(ParseIntSetting, ReadsNumbersTheWayAtolDoes) {
    EXPECT_EQ(ParseIntSetting(L"5"), 5);
    EXPECT_EQ(ParseIntSetting(L"-1"), -1);
    EXPECT_EQ(ParseIntSetting(L"+17"), 17);
    EXPECT_EQ(ParseIntSetting(L"   42"), 42);
    EXPECT_EQ(ParseIntSetting(L"\t 7"), 7);
    EXPECT_EQ(ParseIntSetting(L"42x"), 42);
    EXPECT_EQ(ParseIntSetting(L"-7"), -7);
}

TEST(ParseIntSetting, TextWithoutLeadingDigitsGivesZero) {
    EXPECT_EQ(ParseIntSetting(L"abc"), 0);
    EXPECT_EQ(ParseIntSetting(L""), 0);
    EXPECT_EQ(ParseIntSetting(L"-"), 0);
    EXPECT_EQ(ParseIntSetting(L"x42"), 0);
    EXPECT_EQ(ParseIntSetting(L"- 3"), 0);
    EXPECT_EQ(ParseIntSetting(nullptr), 0);
}

TEST(ParseIntSetting, SaturatesBeyondTheIntegerRange) {
    EXPECT_EQ(ParseIntSetting(L"2147483647"), INT_MAX);
    EXPECT_EQ(ParseIntSetting(L"-2147483648"), INT_MIN);
    EXPECT_EQ(ParseIntSetting(L"2147483648"), INT_MAX);
    EXPECT_EQ(ParseIntSetting(L"-2147483649"), INT_MIN);
    EXPECT_EQ(ParseIntSetting(L"123456789012345678901234567890"), INT_MAX);
    EXPECT_EQ(ParseIntSetting(L"-123456789012345678901234567890"), INT_MIN);
    EXPECT_EQ(ParseIntSetting(L"4294967295"), INT_MAX);  // a colour written unsigned by hand
}
