#include <gtest/gtest.h>

#include <windows.h>

#include "e2e/support/dialog_app.h"
#include "resource_ids.h"

namespace {

using e2e::DialogApp;

COLORREF ScreenPixel(POINT p) {
    HDC screen = GetDC(nullptr);
    COLORREF colour = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

// Wine has none of the theme library's dark-mode exports: whatever the INI file allows, the
// program must start, draw in the system's light colours and end normally.
TEST(DialogDarkMode, StartsLightOnASystemWithoutDarkModeWhetherOrNotTheIniTurnsItOff) {
    for (const wchar_t* disableDarkTheme : {L"0", L"1"}) {
        SCOPED_TRACE(testing::Message() << "disable_dark_theme " << disableDarkTheme);
        DialogApp app({{L"lng", L"1"}, {L"disable_dark_theme", disableDarkTheme}});
        ASSERT_NE(app.Start(), nullptr);
        SetForegroundWindow(app.Dialog().Window());

        // Left of the "Preferences" group, level with its first check box: plain background.
        RECT group = {};
        RECT disable = {};
        GetWindowRect(app.Dialog().Control(IDC_PREFERENCES_GROUP), &group);
        GetWindowRect(app.Dialog().Control(IDC_DISABLE), &disable);
        const POINT background = {group.left - 4, (disable.top + disable.bottom) / 2};
        const COLORREF light = GetSysColor(COLOR_BTNFACE);
        EXPECT_TRUE(e2e::WaitUntil([&] { return ScreenPixel(background) == light; }, 5000))
            << std::hex << ScreenPixel(background) << " instead of " << light;

        EXPECT_TRUE(app.App().Running().Running());
        EXPECT_EQ(app.App().EndWithExitWord(), 0);
    }
}

}  // namespace
