#include <gtest/gtest.h>

#include "e2e/support/dialog_app.h"
#include "resource_ids.h"

namespace {

using e2e::DialogApp;

struct TellingPoint {
    int position;
    const wchar_t* text;
    const wchar_t* seconds;
};

class DialogSlider : public ::testing::TestWithParam<TellingPoint> {};

TEST_P(DialogSlider, PositionShowsItsTimeAndSavesItsSeconds) {
    const TellingPoint& point = GetParam();
    DialogApp app;
    ASSERT_NE(app.Start(), nullptr);
    app.Dialog().DragSliderTo(point.position);
    EXPECT_EQ(app.Dialog().Text(IDC_HIDE_TIME_TEXT), point.text);
    EXPECT_EQ(app.Ini(L"auto_hide_icons_sec"), point.seconds);
    EXPECT_EQ(app.Dialog().CountdownMaximum(), _wtoi(point.seconds));
}

INSTANTIATE_TEST_SUITE_P(DialogTellingPoints,
                         DialogSlider,
                         ::testing::Values(TellingPoint{1, L"00:00:01", L"1"},
                                           TellingPoint{60, L"00:01:00", L"60"},
                                           TellingPoint{61, L"00:01:30", L"90"},
                                           TellingPoint{78, L"00:10:00", L"600"},
                                           TellingPoint{79, L"00:11:00", L"660"},
                                           TellingPoint{248, L"03:00:00", L"10800"}));

TEST(DialogSliderKeys, EndAndHomeReachThreeHoursAndOneSecond) {
    DialogApp app;
    ASSERT_NE(app.Start(), nullptr);
    app.Dialog().Click(IDC_HIDE_TIME_SLIDER);
    ASSERT_TRUE(e2e::WaitUntil([&] { return GetForegroundWindow() == app.Dialog().Window(); }, 3000));
    e2e::PressKeys({VK_END}, 60);
    EXPECT_TRUE(e2e::WaitUntil([&] { return app.Dialog().Text(IDC_HIDE_TIME_TEXT) == L"03:00:00"; }, 3000));
    EXPECT_EQ(app.Ini(L"auto_hide_icons_sec"), L"10800");
    e2e::PressKeys({VK_HOME}, 60);
    EXPECT_TRUE(e2e::WaitUntil([&] { return app.Dialog().Text(IDC_HIDE_TIME_TEXT) == L"00:00:01"; }, 3000));
    EXPECT_EQ(app.Ini(L"auto_hide_icons_sec"), L"1");
}

TEST(DialogSliderStored, ValueBetweenStepsIsShownExactlyOnTheLowerStep) {
    DialogApp app({{L"auto_hide_icons_sec", L"75"}});
    ASSERT_NE(app.Start(), nullptr);
    EXPECT_EQ(app.Dialog().Text(IDC_HIDE_TIME_TEXT), L"00:01:15");
    EXPECT_EQ(app.Dialog().SliderPosition(), 60);
    app.Dialog().DragSliderTo(61);
    EXPECT_EQ(app.Ini(L"auto_hide_icons_sec"), L"90");
}

TEST(DialogSliderStored, ValueAboveSixteenBitsPutsTheSliderAtItsEnd) {
    DialogApp app({{L"auto_hide_icons_sec", L"70000"}, {L"m_disable", L"1"}});
    ASSERT_NE(app.Start(), nullptr);
    EXPECT_EQ(app.Dialog().SliderPosition(), 248);
    EXPECT_EQ(app.Dialog().Text(IDC_HIDE_TIME_TEXT), L"19:26:40");
    EXPECT_EQ(app.Dialog().CountdownMaximum(), 70000 & 0xFFFF);
    EXPECT_EQ(app.Ini(L"auto_hide_icons_sec"), L"70000");
}

TEST(DialogSliderStored, UnchangedValueWritesNothing) {
    DialogApp app;
    ASSERT_NE(app.Start(), nullptr);
    // The drag is sent: the dialog has handled it when it returns.
    app.Dialog().DragSliderTo(5);
    EXPECT_EQ(app.Ini(L"auto_hide_icons_sec"), L"");
    app.Dialog().DragSliderTo(6);
    EXPECT_EQ(app.Ini(L"auto_hide_icons_sec"), L"6");
}

}  // namespace
