#include <gtest/gtest.h>

#include <string>

#include "e2e/support/dialog_app.h"
#include "resource_ids.h"

namespace {

using e2e::DialogApp;

std::wstring ExpectedTitle() {
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);
    auto getVersion = reinterpret_cast<RtlGetVersionFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    OSVERSIONINFOEXW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    getVersion(&info);
    wchar_t title[256];
    wsprintfW(title, L"Velmora 5.41 - OS:%d.%d %d - Portable", info.dwMajorVersion, info.dwMinorVersion,
              info.dwBuildNumber);
    return title;
}

TEST(DialogStart, FirstStartShowsTheDefaultsInEnglish) {
    DialogApp app({{L"lng", L"1"}});
    ASSERT_NE(app.Start(), nullptr);
    const auto& dialog = app.Dialog();
    for (int shown : {IDC_SHOW_BY_LEFT, IDC_SHOW_BY_MIDDLE, IDC_SHOW_BY_RIGHT, IDC_SHOW_BY_CONTEXT_MENU}) {
        EXPECT_TRUE(dialog.Checked(shown)) << shown;
    }
    for (int off :
         {IDC_DISABLE, IDC_START_WITH_WINDOWS, IDC_START_IN_TRAY, IDC_ALWAYS_ON_TOP, IDC_HIDE_TASKBAR,
          IDC_DISABLE_PERMANENTLY, IDC_HIDE_AT_START, IDC_HIDE_BY_MIDDLE, IDC_SHOW_BY_WIN_D, IDC_SHOW_BY_MOUSE_MOVE}) {
        EXPECT_FALSE(dialog.Checked(off)) << off;
    }
    EXPECT_EQ(dialog.Text(IDC_HIDE_TIME_TEXT), L"00:00:05");
    EXPECT_EQ(dialog.SliderPosition(), 5);
    EXPECT_EQ(dialog.CountdownMaximum(), 5);
    // The context menu needs the right button, so its box is greyed.
    EXPECT_FALSE(dialog.Enabled(IDC_SHOW_BY_RIGHT));
    EXPECT_TRUE(dialog.Enabled(IDC_SHOW_BY_MIDDLE));

    EXPECT_EQ(dialog.Title(), ExpectedTitle());
    EXPECT_EQ(dialog.Text(IDC_PREFERENCES_GROUP), L"Preferences");
    EXPECT_EQ(dialog.Text(IDC_SHOW_BY_CLICK_GROUP), L"Show via desktop click:");
    EXPECT_EQ(dialog.Text(IDC_SHOW_BY_LEFT), L"Left mouse button ");
    EXPECT_EQ(dialog.Text(IDC_START_IN_TRAY), L"Always start minimized (ToTray)");
    EXPECT_EQ(dialog.Text(IDC_MORE_OPTIONS), L"More options");
    EXPECT_EQ(dialog.Text(IDC_TIMER_LABEL), L"Timer:");
    EXPECT_EQ(dialog.Text(IDC_DISABLE_PERMANENTLY), L"Hide desktop icons permanentl");
}

// Disabled, the engine leaves the countdown bar where the dialog put it: full. An idle time
// beyond 16 bits puts the slider at its end and is kept as it is; "Hide desktop icons
// permanently" is never read at start.
TEST(DialogStart, StoredSettingsAreShown) {
    DialogApp app({{L"topmost", L"1"},
                   {L"hide_taskbar", L"1"},
                   {L"show_icons_by_m_mouse", L"0"},
                   {L"show_icons_by_contextmenu", L"0"},
                   {L"show_icons_win_d", L"1"},
                   {L"show_icons_mouse_move", L"1"},
                   {L"hide_at_programstart", L"1"},
                   {L"m_disable", L"1"},
                   {L"disable_permanently", L"1"},
                   {L"auto_hide_icons_sec", L"70000"}});
    ASSERT_NE(app.Start(), nullptr);
    const auto& dialog = app.Dialog();
    EXPECT_TRUE(dialog.Checked(IDC_ALWAYS_ON_TOP));
    EXPECT_NE(GetWindowLongW(dialog.Window(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_TRUE(dialog.Checked(IDC_HIDE_TASKBAR));
    EXPECT_FALSE(dialog.Checked(IDC_SHOW_BY_MIDDLE));
    EXPECT_FALSE(dialog.Checked(IDC_SHOW_BY_CONTEXT_MENU));
    EXPECT_TRUE(dialog.Checked(IDC_SHOW_BY_WIN_D));
    EXPECT_TRUE(dialog.Checked(IDC_SHOW_BY_MOUSE_MOVE));
    EXPECT_TRUE(dialog.Checked(IDC_HIDE_AT_START));
    EXPECT_TRUE(dialog.Checked(IDC_DISABLE));
    EXPECT_FALSE(dialog.Checked(IDC_DISABLE_PERMANENTLY));
    EXPECT_EQ(dialog.Text(IDC_HIDE_TIME_TEXT), L"19:26:40");
    EXPECT_EQ(dialog.SliderPosition(), 248);
    EXPECT_EQ(dialog.CountdownMaximum(), 70000 & 0xFFFF);
    EXPECT_EQ(dialog.CountdownPosition(), 70000 & 0xFFFF);
    EXPECT_EQ(app.Ini(L"auto_hide_icons_sec"), L"70000");
    // Disabled, the options that need the engine are greyed; "Disable" itself is not locked.
    for (int id : {IDC_SHOW_BY_LEFT, IDC_SHOW_BY_MIDDLE, IDC_SHOW_BY_RIGHT, IDC_SHOW_BY_CONTEXT_MENU, IDC_HIDE_TASKBAR,
                   IDC_HIDE_AT_START}) {
        EXPECT_FALSE(dialog.Enabled(id)) << id;
    }
    EXPECT_TRUE(dialog.Enabled(IDC_DISABLE));
}

TEST(DialogStart, NoButtonLeftToShowTheIconsIsRepairedAndSaved) {
    DialogApp app({{L"show_icons_by_l_mouse", L"0"},
                   {L"show_icons_by_m_mouse", L"0"},
                   {L"show_icons_by_r_mouse", L"0"},
                   {L"show_icons_by_contextmenu", L"0"}});
    ASSERT_NE(app.Start(), nullptr);
    EXPECT_TRUE(app.Dialog().Checked(IDC_SHOW_BY_MIDDLE));
    EXPECT_EQ(app.Ini(L"show_icons_by_m_mouse"), L"1");
    EXPECT_EQ(app.Ini(L"show_icons_by_l_mouse"), L"0");
    EXPECT_EQ(app.Ini(L"show_icons_by_r_mouse"), L"0");
}

TEST(DialogStart, BackgroundWordKeepsTheDialogHidden) {
    DialogApp app;
    ASSERT_NE(app.Start(L"-bg", {}, true), nullptr);
    // The dialog would be shown before the program takes its next message.
    ASSERT_TRUE(app.Dialog().CatchUp());
    EXPECT_FALSE(app.Dialog().Visible());
}

// A second start brings the hidden dialog back.
TEST(DialogStart, StartInTrayKeepsTheDialogHiddenUntilASecondStart) {
    DialogApp app({{L"start_tray", L"1"}});
    ASSERT_NE(app.Start(L"", {}, true), nullptr);
    ASSERT_TRUE(app.Dialog().CatchUp());
    EXPECT_FALSE(app.Dialog().Visible());
    EXPECT_TRUE(app.Dialog().Checked(IDC_START_IN_TRAY));
    EXPECT_EQ(app.App().RunToExit(L""), 45054);
    EXPECT_TRUE(e2e::WaitUntil([&] { return app.Dialog().Visible(); }, 5000));
}

}  // namespace
