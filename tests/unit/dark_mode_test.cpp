#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include <commctrl.h>

#include "app/startup.h"
#include "appearance/dark_mode.h"
#include "appearance/dark_mode_hook.h"
#include "appearance/dark_subclass.h"
#include "appearance/window_theme.h"
#include "appearance/background_fill.h"
#include "appearance/dark_painting.h"
#include "common/scoped_handle.h"
#include "support/fake_dark_mode_api.h"

namespace {

void DestroyTestWindow(HWND window) {
    DestroyWindow(window);
}
using ScopedWindow = ScopedHandle<HWND, DestroyTestWindow>;

ScopedWindow MakeWindow(const wchar_t* className, DWORD style) {
    return ScopedWindow(
        CreateWindowExW(0, className, L"", WS_POPUP | style, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr));
}

class DarkMode : public ::testing::Test {
  protected:
    void TearDown() override { ResetDarkMode(); }
};

std::vector<uint32_t> PaintRebar(const RECT& clip, bool soft) {
    constexpr int kWidth = 6, kHeight = 64;
    BITMAPINFO format = {{sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    void* bits = nullptr;
    ScopedGdiObject bitmap(CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
    auto* pixels = static_cast<uint32_t*>(bits);
    std::fill(pixels, pixels + kWidth * kHeight, 0x123456u);
    HGDIOBJ previous = SelectObject(dc.Get(), bitmap.Get());
    PaintRebarBackground(dc.Get(), clip, RECT{0, 0, kWidth, kHeight}, soft);
    GdiFlush();
    SelectObject(dc.Get(), previous);
    return std::vector<uint32_t>(pixels, pixels + kWidth * kHeight);
}

}  // namespace

TEST_F(DarkMode, FollowsTheSystemOnlyWhereEveryThemeExportExistsAndTheUserWantsIt) {
    struct Case {
        const char* situation;
        std::function<DarkModeApi()> system;
        int disableDarkTheme;
        bool supported, enabled, active, appAllowed;
    };
    auto without = [](auto change) {
        return [change] {
            DarkModeApi api = FakeDarkModeApi();
            change(api);
            return api;
        };
    };
    auto with = [](auto change) {
        return [change] {
            DarkModeApi api = FakeDarkModeApi();
            change(fakeDarkSystem);
            return api;
        };
    };
    const Case cases[] = {
        {"dark Windows 11", [] { return FakeDarkModeApi(); }, 0, true, true, true, true},
        // Turned off by hand: the system is still known to be dark, but nothing is asked of it.
        {"disable_dark_theme 1", [] { return FakeDarkModeApi(); }, 1, true, true, false, false},
        {"light app mode", with([](auto& s) { s.appsUseDarkMode = false; }), 0, true, false, false, true},
        {"high contrast", with([](auto& s) { s.highContrast = true; }), 0, true, false, false, true},
        {"Windows 8.1", [] { return FakeDarkModeApi(9600, 6); }, 0, false, false, false, false},
        {"no version query", without([](auto& a) { a.versionKnown = false; }), 0, false, false, false, false},
        {"no theme library", without([](auto& a) { a.themeLibraryLoaded = false; }), 0, false, false, false, false},
        {"no ordinal 49", without([](auto& a) { a.ordinal49 = nullptr; }), 0, false, false, false, false},
        {"no ordinal 104", without([](auto& a) { a.refreshColorPolicy = nullptr; }), 0, false, false, false, false},
        {"no ordinal 132", without([](auto& a) { a.shouldAppsUseDarkMode = nullptr; }), 0, false, false, false, false},
        {"no ordinal 133", without([](auto& a) { a.allowDarkModeForWindow = nullptr; }), 0, false, false, false, false},
        {"no ordinal 135", without([](auto& a) { a.setPreferredAppMode = nullptr; }), 0, false, false, false, false},
        {"no ordinal 137", without([](auto& a) { a.isDarkModeAllowedForWindow = nullptr; }), 0, false, false, false,
         false},
        // The flag form of ordinal 135 is of no use from build 18362 on.
        {"old form on a new build", without([](auto& a) {
             a.setPreferredAppMode = nullptr;
             a.allowDarkModeForApp = FakeDarkExports::AllowForApp;
         }),
         0, false, false, false, false},
        // Only the title bar stays light.
        {"no SetWindowCompositionAttribute", without([](auto& a) { a.setWindowCompositionAttribute = nullptr; }), 0,
         true, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        InitDarkModeWith(c.system(), c.disableDarkTheme);
        EXPECT_EQ(CurrentDarkMode().supported, c.supported);
        EXPECT_EQ(CurrentDarkMode().enabled, c.enabled);
        EXPECT_EQ(IsDarkModeActive(), c.active);
        const int appCalls = fakeDarkSystem.allowForAppCalls + fakeDarkSystem.preferredAppModeCalls;
        EXPECT_EQ(appCalls == 1 && fakeDarkSystem.lastAppArgument == 1 && fakeDarkSystem.refreshCalls == 1,
                  c.appAllowed);
        HHOOK hook = InstallDarkModeHook(GetModuleHandleW(nullptr));
        EXPECT_EQ(hook != nullptr, c.active);
        UnhookWindowsHookEx(hook);
        EXPECT_EQ(AllowDarkModeForWindow(nullptr, TRUE), c.supported);
    }

    // Ordinal 135 takes a flag before build 18362 and a mode from it on; the top four bits of
    // the reported build are flags, not part of the number.
    InitDarkModeWith(FakeDarkModeApi(18361), 0);
    EXPECT_EQ(fakeDarkSystem.allowForAppCalls, 1);
    InitDarkModeWith(FakeDarkModeApi(0xF0000000 | 18362), 0);
    EXPECT_EQ(fakeDarkSystem.preferredAppModeCalls, 1);
    EXPECT_EQ(CurrentDarkMode().windowsBuild, 18362u);
}

// Dark mode starts from the build and the exports alone: SetProcessDPIAware, which a manifest
// or the "Override high DPI scaling" setting makes Windows refuse, has no say.
TEST_F(DarkMode, StartsFromTheBuildAndExportsAlone) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    HHOOK hook = StartDarkMode(instance, FakeDarkModeApi());
    EXPECT_TRUE(IsDarkModeActive());
    EXPECT_NE(hook, nullptr);
    UnhookWindowsHookEx(hook);

    EXPECT_EQ(StartDarkMode(instance, FakeDarkModeApi(9600, 6)), nullptr);
    EXPECT_FALSE(CurrentDarkMode().supported);
}

TEST_F(DarkMode, TitleBarTakesThePropertyBeforeBuild18362AndTheCompositionAttributeFromIt) {
    ScopedWindow window = MakeWindow(L"Static", 0);
    const HWND hwnd = window.Get();
    auto property = [&] { return reinterpret_cast<INT_PTR>(GetPropW(hwnd, L"UseImmersiveDarkModeColors")); };

    InitDarkModeWith(FakeDarkModeApi(18361), 0);
    RefreshTitleBarTheme(hwnd);
    EXPECT_EQ(property(), 1);
    fakeDarkSystem.highContrast = true;
    RefreshTitleBarTheme(hwnd);
    EXPECT_EQ(property(), 0);
    EXPECT_TRUE(fakeDarkSystem.titleBarCalls.empty());
    RemovePropW(hwnd, L"UseImmersiveDarkModeColors");

    InitDarkModeWith(FakeDarkModeApi(18362), 0);
    RefreshTitleBarTheme(hwnd);
    fakeDarkSystem.windowAllowed = false;
    RefreshTitleBarTheme(hwnd);
    ASSERT_EQ(fakeDarkSystem.titleBarCalls.size(), 2u);
    const auto& first = fakeDarkSystem.titleBarCalls[0];
    EXPECT_TRUE(first.window == hwnd && first.attribute == 26 && first.size == 4 && first.dark == TRUE);
    EXPECT_EQ(fakeDarkSystem.titleBarCalls[1].dark, FALSE);
    EXPECT_EQ(GetPropW(hwnd, L"UseImmersiveDarkModeColors"), nullptr);

    // Without the export, or without dark mode, the title bar is left alone.
    DarkModeApi api = FakeDarkModeApi(18362);
    api.setWindowCompositionAttribute = nullptr;
    InitDarkModeWith(api, 0);
    RefreshTitleBarTheme(hwnd);
    InitDarkModeWith(FakeDarkModeApi(9600, 6), 0);
    RefreshTitleBarTheme(hwnd);
    EXPECT_TRUE(fakeDarkSystem.titleBarCalls.empty());
    EXPECT_EQ(GetPropW(hwnd, L"UseImmersiveDarkModeColors"), nullptr);
}

TEST_F(DarkMode, HookTreatsNewWindowsByTheirLowerCasedClassAndButtonsByTheirType) {
    EXPECT_EQ(TreatmentForClass(L"#32770"), DarkTreatment::kDialog);
    EXPECT_EQ(TreatmentForClass(L"Edit"), DarkTreatment::kExplorerTheme);
    EXPECT_EQ(TreatmentForClass(L"SysListView32"), DarkTreatment::kListView);
    EXPECT_EQ(TreatmentForClass(L"ReBarWindow32"), DarkTreatment::kRebar);
    for (const wchar_t* untouched : {L"Static", L"ToolbarWindow32", L"#32768", L"Edit2", L""}) {
        EXPECT_EQ(TreatmentForClass(untouched), DarkTreatment::kNone) << untouched;
    }
    EXPECT_EQ(ButtonThemeList(WS_CHILD | BS_CHECKBOX), nullptr);
    EXPECT_EQ(ButtonThemeList(BS_PUSHBUTTON), nullptr);
    for (LONG box : {BS_AUTOCHECKBOX, BS_RADIOBUTTON, BS_AUTORADIOBUTTON}) {
        EXPECT_STREQ(ButtonThemeList(WS_CHILD | WS_TABSTOP | box), L"") << box;
    }
    EXPECT_STREQ(ButtonThemeList(WS_CHILD | BS_GROUPBOX), L"Groupbox");

    // The hook reaches the windows this thread creates while it is installed.
    InitDarkModeWith(FakeDarkModeApi(), 0);
    HHOOK hook = InstallDarkModeHook(GetModuleHandleW(nullptr));
    ASSERT_NE(hook, nullptr);
    ScopedWindow box = MakeWindow(L"BUTTON", BS_GROUPBOX);
    ScopedWindow label = MakeWindow(L"Static", 0);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(fakeDarkSystem.allowedWindows, std::vector<HWND>{box.Get()});
}

namespace {

// The theme library of a system without a "Header" theme class (a classic or broken theme),
// and of one whose header items' text is orange.
int themesOpen = 0;
int themesClosed = 0;
themes::Theme WINAPI OpenNoTheme(HWND, const wchar_t*) {
    return nullptr;
}
themes::Theme WINAPI OpenHeaderThemeOnly(HWND, const wchar_t* classList) {
    if (wcscmp(classList, L"Header") != 0) {
        return nullptr;
    }
    ++themesOpen;
    return reinterpret_cast<themes::Theme>(1);
}
HRESULT WINAPI CloseTheme(themes::Theme theme) {
    themesOpen -= theme != nullptr ? 1 : 0;
    ++themesClosed;
    return S_OK;
}
HRESULT WINAPI OrangeHeaderItemText(themes::Theme, int part, int, int property, COLORREF* colour) {
    if (part != 1 || property != 3803) {
        return E_FAIL;
    }
    *colour = 0x0080FF;
    return S_OK;
}

// A list view with a column, so that it has its header.
ScopedWindow MakeReportListView() {
    ScopedWindow listView = MakeWindow(WC_LISTVIEWW, LVS_REPORT);
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 50;
    column.pszText = const_cast<wchar_t*>(L"Name");
    SendMessageW(listView.Get(), LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    return listView;
}

// The text colour the list view gives its header's items when they are drawn.
COLORREF HeaderItemTextColour(HWND listView) {
    ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
    SetTextColor(dc.Get(), 0x123456);
    NMCUSTOMDRAW draw = {};
    draw.hdr.hwndFrom = reinterpret_cast<HWND>(SendMessageW(listView, LVM_GETHEADER, 0, 0));
    draw.hdr.code = static_cast<UINT>(NM_CUSTOMDRAW);
    draw.dwDrawStage = CDDS_ITEMPREPAINT;
    draw.hdc = dc.Get();
    SendMessageW(listView, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&draw));
    return GetTextColor(dc.Get());
}

}  // namespace

// Dark headers draw on near-black: without the theme's colour their text must be light.
TEST_F(DarkMode, ListViewHeadersAreWhiteWithoutTheHeaderThemeAndTakeItsTextColourWithIt) {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    InitDarkModeWith(FakeDarkModeApi(), 0);
    const themes::ThemeColourFunctions noHeaderTheme = {OpenNoTheme, CloseTheme, OrangeHeaderItemText};
    themes::UseThemeColourFunctions(&noHeaderTheme);
    ScopedWindow plain = MakeReportListView();
    ASSERT_NE(SendMessageW(plain.Get(), LVM_GETHEADER, 0, 0), 0);
    SetUpDarkListView(plain.Get());
    EXPECT_EQ(HeaderItemTextColour(plain.Get()), 0xFFFFFFu);

    const themes::ThemeColourFunctions headerTheme = {OpenHeaderThemeOnly, CloseTheme, OrangeHeaderItemText};
    themes::UseThemeColourFunctions(&headerTheme);
    ScopedWindow themed = MakeReportListView();
    SetUpDarkListView(themed.Get());
    themes::UseThemeColourFunctions(nullptr);
    EXPECT_EQ(HeaderItemTextColour(themed.Get()), 0x0080FFu);
    EXPECT_EQ(themesOpen, 0) << "every theme opened is closed";
    EXPECT_EQ(themesClosed, 1) << "and only those";
}

TEST(DarkPainting, RebarGradientStepsOneLevelPerRowOver64RowsAndIsSolidBlackWithoutSoftPaint) {
    EXPECT_EQ(GradientRowColour(0x404040, 0, 1, 3), RGB(43, 43, 43)) << "truncated toward zero";
    EXPECT_EQ(GradientRowColour(RGB(10, 200, 0), RGB(250, 0, 0), 1, 2), RGB(130, 100, 0)) << "each component";

    // The clip box's columns, every row of the client; nothing else.
    const RECT clip = {1, 10, 4, 20};
    const std::vector<uint32_t> soft = PaintRebar(clip, true), solid = PaintRebar(clip, false);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 6; ++x) {
            const bool inColumns = x >= clip.left && x < clip.right;
            const bool inClip = inColumns && y >= clip.top && y < clip.bottom;
            EXPECT_EQ(soft[y * 6 + x], inColumns ? (64u - y) * 0x010101u : 0x123456u) << x << "," << y;
            EXPECT_EQ(solid[y * 6 + x], inClip ? 0u : 0x123456u) << x << "," << y;
        }
    }
}
