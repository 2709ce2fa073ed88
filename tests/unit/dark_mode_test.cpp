#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "appearance/dark_mode.h"
#include "appearance/dark_mode_hook.h"
#include "appearance/dark_painting.h"
#include "common/scoped_handle.h"
#include "support/fake_dark_mode_api.h"

namespace {

void DestroyTestWindow(HWND window) {
    DestroyWindow(window);
}
using ScopedWindow = ScopedHandle<HWND, DestroyTestWindow>;

class DarkMode : public ::testing::Test {
  protected:
    void TearDown() override { ResetDarkMode(); }
};

struct Outcome {
    bool supported;
    bool enabled;
    bool active;
    bool appAllowed;  // the application-wide call and the policy refresh both made
};

Outcome Decide(const DarkModeApi& api, int disableDarkTheme = 0) {
    InitDarkModeWith(api, disableDarkTheme, 1);
    const DarkModeState& state = CurrentDarkMode();
    bool appAllowed = fakeDarkSystem.allowForAppCalls + fakeDarkSystem.preferredAppModeCalls == 1 &&
                      fakeDarkSystem.lastAppArgument == 1 && fakeDarkSystem.refreshCalls == 1;
    return {state.supported, state.enabled, IsDarkModeActive(), appAllowed};
}

void ExpectOutcome(const Outcome& outcome, const Outcome& expected, const char* situation) {
    SCOPED_TRACE(situation);
    EXPECT_EQ(outcome.supported, expected.supported);
    EXPECT_EQ(outcome.enabled, expected.enabled);
    EXPECT_EQ(outcome.active, expected.active);
    EXPECT_EQ(outcome.appAllowed, expected.appAllowed);
}

std::vector<uint32_t> PaintRebar(int width, int height, const RECT& clip, bool soft) {
    BITMAPINFO format = {};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    ScopedGdiObject bitmap(CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
    auto* pixels = static_cast<uint32_t*>(bits);
    std::fill(pixels, pixels + width * height, 0x123456u);
    HGDIOBJ previous = SelectObject(dc.Get(), bitmap.Get());
    PaintRebarBackground(dc.Get(), clip, RECT{0, 0, width, height}, soft);
    GdiFlush();
    std::vector<uint32_t> result(pixels, pixels + width * height);
    SelectObject(dc.Get(), previous);
    return result;
}

}  // namespace

TEST_F(DarkMode, FollowsTheSystemOnlyWhereEveryThemeExportExistsAndTheUserWantsIt) {
    ExpectOutcome(Decide(FakeDarkModeApi()), {true, true, true, true}, "dark Windows 11");

    // Turned off by hand: the system is still known to be dark, but nothing is asked of it.
    ExpectOutcome(Decide(FakeDarkModeApi(), 1), {true, true, false, false}, "disable_dark_theme 1");
    EXPECT_EQ(InstallDarkModeHook(GetModuleHandleW(nullptr)), nullptr);

    DarkModeApi api = FakeDarkModeApi();
    fakeDarkSystem.appsUseDarkMode = false;
    ExpectOutcome(Decide(api), {true, false, false, true}, "light app mode");

    api = FakeDarkModeApi();
    fakeDarkSystem.highContrast = true;
    ExpectOutcome(Decide(api), {true, false, false, true}, "high contrast");

    ExpectOutcome(Decide(FakeDarkModeApi(9600, 6)), {false, false, false, false}, "Windows 8.1");
    api = FakeDarkModeApi();
    api.versionKnown = false;
    ExpectOutcome(Decide(api), {false, false, false, false}, "no version query");
    api = FakeDarkModeApi();
    api.themeLibraryLoaded = false;
    ExpectOutcome(Decide(api), {false, false, false, false}, "no theme library");

    // Each required export missing on its own.
    const std::vector<std::pair<const char*, std::function<void(DarkModeApi&)>>> required = {
        {"ordinal 49", [](DarkModeApi& a) { a.ordinal49 = nullptr; }},
        {"ordinal 104", [](DarkModeApi& a) { a.refreshColorPolicy = nullptr; }},
        {"ordinal 132", [](DarkModeApi& a) { a.shouldAppsUseDarkMode = nullptr; }},
        {"ordinal 133", [](DarkModeApi& a) { a.allowDarkModeForWindow = nullptr; }},
        {"ordinal 135", [](DarkModeApi& a) { a.setPreferredAppMode = nullptr; }},
        {"ordinal 137", [](DarkModeApi& a) { a.isDarkModeAllowedForWindow = nullptr; }},
    };
    for (const auto& [name, remove] : required) {
        api = FakeDarkModeApi();
        remove(api);
        ExpectOutcome(Decide(api), {false, false, false, false}, name);
        EXPECT_FALSE(AllowDarkModeForWindow(nullptr, TRUE)) << name;
    }
    api = FakeDarkModeApi();
    api.setWindowCompositionAttribute = nullptr;
    ExpectOutcome(Decide(api), {true, true, true, true},
                  "no SetWindowCompositionAttribute: only the title bar stays light");

    // Ordinal 135 takes a flag before build 18362 and a mode from it on; the flag form alone
    // is of no use on a newer build.
    Decide(FakeDarkModeApi(18361));
    EXPECT_EQ(fakeDarkSystem.allowForAppCalls, 1);
    EXPECT_EQ(fakeDarkSystem.preferredAppModeCalls, 0);
    Decide(FakeDarkModeApi(18362));
    EXPECT_EQ(fakeDarkSystem.allowForAppCalls, 0);
    EXPECT_EQ(fakeDarkSystem.preferredAppModeCalls, 1);
    api = FakeDarkModeApi(18362);
    api.allowDarkModeForApp = fake_dark_mode::AllowDarkModeForApp;
    api.setPreferredAppMode = nullptr;
    EXPECT_FALSE(Decide(api).supported);

    // The top four bits of the reported build are flags, not part of the number.
    Decide(FakeDarkModeApi(0xF0000000 | 19045));
    EXPECT_EQ(CurrentDarkMode().windowsBuild, 19045u);
    EXPECT_EQ(fakeDarkSystem.preferredAppModeCalls, 1);
}

TEST_F(DarkMode, TitleBarTakesThePropertyBeforeBuild18362AndTheCompositionAttributeFromIt) {
    ScopedWindow window(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(window);
    const HWND hwnd = window.Get();
    auto property = [&] { return reinterpret_cast<INT_PTR>(GetPropW(hwnd, L"UseImmersiveDarkModeColors")); };

    InitDarkModeWith(FakeDarkModeApi(18361), 0, 1);
    RefreshTitleBarTheme(hwnd);
    EXPECT_EQ(property(), 1);
    EXPECT_TRUE(fakeDarkSystem.titleBarCalls.empty());
    fakeDarkSystem.highContrast = true;
    RefreshTitleBarTheme(hwnd);
    EXPECT_EQ(property(), 0);
    RemovePropW(hwnd, L"UseImmersiveDarkModeColors");

    InitDarkModeWith(FakeDarkModeApi(18362), 0, 1);
    RefreshTitleBarTheme(hwnd);
    fakeDarkSystem.windowAllowed = false;
    RefreshTitleBarTheme(hwnd);
    ASSERT_EQ(fakeDarkSystem.titleBarCalls.size(), 2u);
    EXPECT_EQ(fakeDarkSystem.titleBarCalls[0].window, hwnd);
    EXPECT_EQ(fakeDarkSystem.titleBarCalls[0].attribute, 26u);
    EXPECT_EQ(fakeDarkSystem.titleBarCalls[0].size, 4u);
    EXPECT_EQ(fakeDarkSystem.titleBarCalls[0].dark, TRUE);
    EXPECT_EQ(fakeDarkSystem.titleBarCalls[1].dark, FALSE);
    EXPECT_EQ(property(), 0);

    // Without the export, or on a system without dark mode, the title bar is left alone.
    DarkModeApi api = FakeDarkModeApi(18362);
    api.setWindowCompositionAttribute = nullptr;
    InitDarkModeWith(api, 0, 1);
    RefreshTitleBarTheme(hwnd);
    InitDarkModeWith(FakeDarkModeApi(9600, 6), 0, 1);
    RefreshTitleBarTheme(hwnd);
    EXPECT_TRUE(fakeDarkSystem.titleBarCalls.empty());
    EXPECT_EQ(property(), 0);
}

TEST_F(DarkMode, HookTreatsWindowsByTheirLowerCasedClassAndButtonsByTheirType) {
    EXPECT_EQ(TreatmentForClass(L"#32770"), DarkTreatment::kDialog);
    EXPECT_EQ(TreatmentForClass(L"Edit"), DarkTreatment::kExplorerTheme);
    EXPECT_EQ(TreatmentForClass(L"BUTTON"), DarkTreatment::kButton);
    EXPECT_EQ(TreatmentForClass(L"SysListView32"), DarkTreatment::kListView);
    EXPECT_EQ(TreatmentForClass(L"msctls_statusbar32"), DarkTreatment::kStatusBar);
    EXPECT_EQ(TreatmentForClass(L"ReBarWindow32"), DarkTreatment::kRebar);
    for (const wchar_t* untouched : {L"Static", L"ToolbarWindow32", L"#32768", L"SysTabControl32", L"Edit2", L""}) {
        EXPECT_EQ(TreatmentForClass(untouched), DarkTreatment::kNone) << untouched;
    }

    EXPECT_EQ(ButtonThemeList(WS_CHILD | BS_CHECKBOX), nullptr);
    EXPECT_EQ(ButtonThemeList(WS_CHILD | BS_PUSHBUTTON), nullptr);
    EXPECT_STREQ(ButtonThemeList(WS_CHILD | WS_TABSTOP | BS_AUTOCHECKBOX), L"");
    EXPECT_STREQ(ButtonThemeList(BS_RADIOBUTTON), L"");
    EXPECT_STREQ(ButtonThemeList(BS_AUTORADIOBUTTON), L"");
    EXPECT_STREQ(ButtonThemeList(WS_CHILD | BS_GROUPBOX), L"Groupbox");

    // Installed while dark, the hook reaches windows this thread creates from now on.
    InitDarkModeWith(FakeDarkModeApi(), 0, 1);
    HHOOK hook = InstallDarkModeHook(GetModuleHandleW(nullptr));
    ASSERT_NE(hook, nullptr);
    ScopedWindow box(
        CreateWindowExW(0, L"Button", L"", WS_POPUP | BS_GROUPBOX, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
    ScopedWindow label(CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(fakeDarkSystem.allowedWindows, std::vector<HWND>{box.Get()});
}

TEST(DarkPainting, RebarGradientStepsOneLevelPerRowOver64RowsAndIsSolidBlackWithoutSoftPaint) {
    for (int row = 0; row < 64; ++row) {
        const BYTE level = static_cast<BYTE>(64 - row);
        EXPECT_EQ(GradientRowColour(0x404040, 0x000000, row, 64), RGB(level, level, level)) << row;
    }
    EXPECT_EQ(GradientRowColour(0x404040, 0x000000, 1, 3), RGB(43, 43, 43)) << "truncates toward zero";
    EXPECT_EQ(GradientRowColour(RGB(10, 200, 0), RGB(250, 0, 0), 1, 2), RGB(130, 100, 0)) << "each component";

    // Only the clip box's columns are painted, every row of the client.
    constexpr int kWidth = 6, kHeight = 64;
    const RECT clip = {1, 10, 4, 20};
    std::vector<uint32_t> soft = PaintRebar(kWidth, kHeight, clip, true);
    for (int y = 0; y < kHeight; ++y) {
        const uint32_t level = 64 - y;
        EXPECT_EQ(soft[y * kWidth + 1], level * 0x010101u) << y;
        EXPECT_EQ(soft[y * kWidth + 3], level * 0x010101u) << y;
        EXPECT_EQ(soft[y * kWidth + 0], 0x123456u) << y;
        EXPECT_EQ(soft[y * kWidth + 4], 0x123456u) << y;
    }
    std::vector<uint32_t> solid = PaintRebar(kWidth, kHeight, clip, false);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const bool inClip = x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
            EXPECT_EQ(solid[y * kWidth + x], inClip ? 0u : 0x123456u) << x << "," << y;
        }
    }
}

TEST(DarkPainting, ToolbarButtonsTakeLightTextAndYellowWhenHotOrPressed) {
    NMTBCUSTOMDRAW draw = {};
    draw.nmcd.dwDrawStage = CDDS_PREPAINT;
    EXPECT_EQ(DarkToolbarCustomDraw(draw), CDRF_NOTIFYITEMDRAW);
    draw.nmcd.dwDrawStage = CDDS_POSTPAINT;
    EXPECT_FALSE(DarkToolbarCustomDraw(draw).has_value());

    const std::pair<UINT, COLORREF> states[] = {
        {0, 0xDEDEDE}, {CDIS_HOT, 0x00FFFF}, {CDIS_SELECTED, 0x00FFFF}, {CDIS_FOCUS, 0xDEDEDE}};
    for (auto [state, text] : states) {
        draw = {};
        draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
        draw.nmcd.uItemState = state;
        EXPECT_EQ(DarkToolbarCustomDraw(draw), TBCDRF_USECDCOLORS | TBCDRF_NOMARK | TBCDRF_HILITEHOTTRACK);
        EXPECT_EQ(draw.clrText, text) << state;
        EXPECT_EQ(draw.clrMark, 0xDE5050u);
        EXPECT_EQ(draw.clrBtnHighlight, 0x005050u);
        EXPECT_EQ(draw.clrHighlightHotTrack, 0x005050u);
    }
}
