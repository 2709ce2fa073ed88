#include <gtest/gtest.h>

#include "dialog/hide_time.h"

TEST(HideTimeScale, SecondsThenHalfMinutesThenMinutesUpToThreeHours) {
    EXPECT_EQ(PositionToSeconds(1), 1);
    EXPECT_EQ(PositionToSeconds(60), 60);
    EXPECT_EQ(PositionToSeconds(61), 90);
    EXPECT_EQ(PositionToSeconds(78), 600);
    EXPECT_EQ(PositionToSeconds(79), 660);
    EXPECT_EQ(PositionToSeconds(248), 10800);
}

TEST(HideTimeScale, EveryPositionComesBackFromItsSeconds) {
    for (int position = 1; position <= 248; ++position) {
        EXPECT_EQ(SecondsToPosition(PositionToSeconds(position)), position) << "position " << position;
    }
}

TEST(HideTimeScale, SecondsBetweenStepsStandOnTheLowerStepAndLongTimesBeyondTheEnd) {
    EXPECT_EQ(SecondsToPosition(75), 60);
    EXPECT_EQ(SecondsToPosition(89), 60);
    EXPECT_EQ(SecondsToPosition(659), 78);
    EXPECT_EQ(SecondsToPosition(10859), 248);
    // The slider clamps these to its ends.
    EXPECT_EQ(SecondsToPosition(70000), 1234);
    EXPECT_GT(SecondsToPosition(2147483647), 248);
    EXPECT_EQ(SecondsToPosition(0), 0);
}

TEST(FormatHideTime, ShowsHoursMinutesAndSecondsWithAtLeastTwoDigitsEach) {
    EXPECT_EQ(FormatHideTime(5), L"00:00:05");
    EXPECT_EQ(FormatHideTime(75), L"00:01:15");
    EXPECT_EQ(FormatHideTime(3599), L"00:59:59");
    EXPECT_EQ(FormatHideTime(10800), L"03:00:00");
    EXPECT_EQ(FormatHideTime(360000), L"100:00:00");
}
