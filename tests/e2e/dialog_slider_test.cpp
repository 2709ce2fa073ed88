// The idle-time slider in the real dialog. Which position means how many seconds is the unit
// tests' business (tests/unit/hide_time_test.cpp); here one program run shows that the dialog
// uses that scale: for the stored value, for a drag and for the keys, with the text beside the
// slider, the INI file and the countdown bar.
#include <gtest/gtest.h>

#include "e2e/support/dialog_app.h"
#include "resource_ids.h"

namespace {

using e2e::DialogApp;

TEST(DialogSlider, ShowsTheStoredTimeAndSavesTheSecondsOfADraggedOrKeyedPosition) {
    DialogApp app({{L"auto_hide_icons_sec", L"75"}});
    ASSERT_NE(app.Start(), nullptr);
    const auto& dialog = app.Dialog();
    // A value between two steps is shown exactly, on the lower step.
    EXPECT_EQ(dialog.Text(IDC_HIDE_TIME_TEXT), L"00:01:15");
    EXPECT_EQ(dialog.SliderPosition(), 60);

    // The drag is sent: the dialog has handled it when it returns.
    dialog.DragSliderTo(61);
    EXPECT_EQ(dialog.Text(IDC_HIDE_TIME_TEXT), L"00:01:30");
    EXPECT_EQ(app.Ini(L"auto_hide_icons_sec"), L"90");
    EXPECT_EQ(dialog.CountdownMaximum(), 90);
    // A drag that ends on the value there is writes nothing.
    e2e::WriteIniValue(app.App().IniPath(), L"auto_hide_icons_sec", nullptr);
    dialog.DragSliderTo(61);
    EXPECT_EQ(app.Ini(L"auto_hide_icons_sec"), L"");

    dialog.Click(IDC_HIDE_TIME_SLIDER);
    ASSERT_TRUE(e2e::WaitUntil([&] { return GetForegroundWindow() == dialog.Window(); }, 3000));
    e2e::PressKeys({VK_END}, 60);
    EXPECT_TRUE(e2e::WaitUntil([&] { return dialog.Text(IDC_HIDE_TIME_TEXT) == L"03:00:00"; }, 3000));
    EXPECT_EQ(app.Ini(L"auto_hide_icons_sec"), L"10800");
    e2e::PressKeys({VK_HOME}, 60);
    EXPECT_TRUE(e2e::WaitUntil([&] { return dialog.Text(IDC_HIDE_TIME_TEXT) == L"00:00:01"; }, 3000));
    EXPECT_EQ(app.Ini(L"auto_hide_icons_sec"), L"1");
}

}  // namespace
