// The desktop colour as the user meets it: the real program beside the desktop stand-in, a
// colour in the INI file or chosen from "More options", and the screen read back.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "e2e/support/desktop_standin.h"
#include "e2e/support/dialog_app.h"
#include "resource_ids.h"

namespace {

using e2e::DesktopStandin;
using e2e::DialogApp;

constexpr wchar_t kColourClass[] = L"Test____2___2________7";
// Empty desktop right of the centred dialog, clear of Wine's taskbar.
constexpr POINT kRestingPoint = {1100, 300};
constexpr int kColourItem = 5;  // of "More options", separators not counted
// What the program answers within a tick, given time for a loaded machine; and an idle time of
// a second and the answer.
constexpr DWORD kAnswerMs = 5000;
constexpr DWORD kHideMs = 1000 + kAnswerMs;

// Colour windows under "Program Manager", where they belong, and any at the top level.
std::vector<HWND> ColourWindows() {
    std::vector<HWND> found;
    std::vector<HWND> parents = {nullptr};
    if (HWND progman = DesktopStandin::Progman()) {
        parents.push_back(progman);
    }
    for (HWND parent : parents) {
        HWND window = nullptr;
        while ((window = FindWindowExW(parent, window, kColourClass, nullptr)) != nullptr) {
            found.push_back(window);
        }
    }
    return found;
}

struct DialogSearch {
    DWORD processId;
    HWND settings;
    HWND found;
};

// The colour dialog: a visible dialog of the program other than the settings dialog.
HWND FindColourDialog(DWORD processId, HWND settingsDialog) {
    DialogSearch search{processId, settingsDialog, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<DialogSearch*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t className[16] = {};
            GetClassNameW(window, className, 16);
            if (owner == s->processId && window != s->settings && IsWindowVisible(window) &&
                lstrcmpW(className, L"#32770") == 0) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class Colour : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(standin_.Start());
        ASSERT_TRUE(e2e::MoveCursor(kRestingPoint.x, kRestingPoint.y));
    }
    void TearDown() override { standin_.Stop(); }

    static bool WaitForIcons(bool visible, DWORD timeoutMs) {
        return e2e::WaitUntil([&] { return DesktopStandin::IconsVisible() == visible; }, timeoutMs);
    }
    // Starts Velmora and waits for the idle time to hide the icons and for the tick that hid
    // them to end.
    static void StartAndLetTheIconsHide(DialogApp& app) {
        ASSERT_NE(app.Start(), nullptr);
        ASSERT_TRUE(WaitForIcons(false, kHideMs));
        app.Dialog().Settle();
    }
    // The one colour window there is, once it is shown: the program makes it hidden and then
    // puts it in its place and shows it. Null when there is not exactly one shown in time.
    static HWND TheColourWindow() {
        HWND window = nullptr;
        e2e::WaitUntil(
            [&] {
                std::vector<HWND> windows = ColourWindows();
                window = windows.size() == 1 && IsWindowVisible(windows[0]) ? windows[0] : nullptr;
                return window != nullptr;
            },
            kAnswerMs);
        return window;
    }
    static bool ChangeDisplaySize(int width, int height) {
        DEVMODEW mode = {};
        mode.dmSize = sizeof(mode);
        mode.dmPelsWidth = static_cast<DWORD>(width);
        mode.dmPelsHeight = static_cast<DWORD>(height);
        mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
        return ChangeDisplaySettingsExW(nullptr, &mode, nullptr, 0, nullptr) == DISP_CHANGE_SUCCESSFUL &&
               e2e::WaitUntil(
                   [&] {
                       return GetSystemMetrics(SM_CXVIRTUALSCREEN) == width &&
                              GetSystemMetrics(SM_CYVIRTUALSCREEN) == height;
                   },
                   kAnswerMs);
    }
    static bool CoversTheScreen(HWND window) {
        RECT rect = {};
        GetWindowRect(window, &rect);
        return rect.left == GetSystemMetrics(SM_XVIRTUALSCREEN) && rect.top == GetSystemMetrics(SM_YVIRTUALSCREEN) &&
               rect.right - rect.left == GetSystemMetrics(SM_CXVIRTUALSCREEN) &&
               rect.bottom - rect.top == GetSystemMetrics(SM_CYVIRTUALSCREEN);
    }
    static void ClickEmptyDesktop() {
        ASSERT_TRUE(e2e::MoveCursor(kRestingPoint.x, kRestingPoint.y));
        e2e::HoldLeftButton();
    }

    DesktopStandin standin_;
};

// One colour window under "Program Manager", over the whole desktop, while the icons are
// hidden: gone when a click shows them, and made anew for a restarted shell.
TEST_F(Colour, CoversTheWholeDesktopWhileTheIconsAreHiddenGoesWithAClickAndComesAnewForANewShell) {
    DialogApp app({{L"auto_hide_icons_sec", L"1"}, {L"m_wallpaper_color", L"255"}});
    ASSERT_NE(app.Start(), nullptr);
    EXPECT_TRUE(ColourWindows().empty());
    ASSERT_TRUE(WaitForIcons(false, kHideMs));
    app.Dialog().Settle();

    HWND colour = TheColourWindow();
    ASSERT_NE(colour, nullptr);
    EXPECT_TRUE(IsWindowVisible(colour));
    EXPECT_EQ(GetAncestor(colour, GA_PARENT), DesktopStandin::Progman());
    EXPECT_EQ(GetWindow(DesktopStandin::Progman(), GW_CHILD), colour);  // above the desktop view
    RECT rect = {};
    GetWindowRect(colour, &rect);
    EXPECT_EQ(rect.left, GetSystemMetrics(SM_XVIRTUALSCREEN));
    EXPECT_EQ(rect.top, GetSystemMetrics(SM_YVIRTUALSCREEN));
    EXPECT_EQ(rect.right - rect.left, GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_EQ(rect.bottom - rect.top, GetSystemMetrics(SM_CYVIRTUALSCREEN));
    // Click-through: the empty desktop, not the colour, is under the cursor.
    EXPECT_EQ(WindowFromPoint(kRestingPoint), DesktopStandin::DefView());

    ClickEmptyDesktop();
    ASSERT_TRUE(WaitForIcons(true, kAnswerMs));
    EXPECT_TRUE(e2e::WaitUntil([] { return ColourWindows().empty(); }, kAnswerMs));

    // A restarted shell takes the window with it; the next hiding makes a new one.
    ASSERT_TRUE(WaitForIcons(false, kHideMs));
    HWND old = TheColourWindow();
    ASSERT_NE(old, nullptr);
    ASSERT_TRUE(standin_.Restart());
    EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindow(old) == 0; }, kAnswerMs));
    ASSERT_TRUE(WaitForIcons(false, kHideMs));
    colour = TheColourWindow();
    ASSERT_NE(colour, nullptr);
    EXPECT_NE(colour, old);
    EXPECT_EQ(GetAncestor(colour, GA_PARENT), DesktopStandin::Progman());
    EXPECT_TRUE(IsWindowVisible(colour));
}

// The shell shows the icons by itself: the next hiding raises the window there is instead of
// making another. Switched off from the menu while the icons stay hidden, the colour goes at
// once, with no dialog.
TEST_F(Colour, HidingAgainRaisesTheSameWindowAndTheMenuItemSwitchesTheColourOffAtOnce) {
    DialogApp app({{L"auto_hide_icons_sec", L"1"}, {L"m_wallpaper_color", L"255"}});
    StartAndLetTheIconsHide(app);
    HWND colour = TheColourWindow();
    ASSERT_NE(colour, nullptr);
    SetWindowPos(colour, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_NE(GetWindow(DesktopStandin::Progman(), GW_CHILD), colour);
    ShowWindow(DesktopStandin::ListView(), SW_SHOW);
    ASSERT_TRUE(WaitForIcons(false, kHideMs));
    app.Dialog().Settle();
    EXPECT_EQ(ColourWindows(), std::vector<HWND>{colour});
    EXPECT_EQ(GetWindow(DesktopStandin::Progman(), GW_CHILD), colour);
    EXPECT_TRUE(IsWindowVisible(colour));

    ASSERT_TRUE(app.Dialog().ChooseMoreOption(kColourItem));
    EXPECT_TRUE(e2e::WaitUntil([&] { return app.Ini(L"m_wallpaper_color") == L"-1"; }, kAnswerMs));
    EXPECT_EQ(FindColourDialog(app.App().Running().Id(), app.Dialog().Window()), nullptr);
    EXPECT_TRUE(e2e::WaitUntil([] { return ColourWindows().empty(); }, kAnswerMs));
    EXPECT_FALSE(DesktopStandin::IconsVisible());
}

// The colour as a pop-up of the program's own, where there is no "Program Manager", and the
// screen read back: colour_below_programs_test.cpp.

// Wine's virtual desktop changes its size as a display does. Both the child of "Program
// Manager" (which the shell resizes in its own time) and the pop-up of a desktop without it
// cover the larger desktop within a tick or two: made at 1024x768, they cover 1280x800 after
// the change.
TEST_F(Colour, CoversTheNewDesktopAfterADisplayChangeAsAChildAndAsAPopup) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    struct DisplayBack {
        int width;
        int height;
        ~DisplayBack() { ChangeDisplaySize(width, height); }
    } displayBack{width, height};
    for (bool withProgramManager : {true, false}) {
        SCOPED_TRACE(withProgramManager ? "child of Program Manager" : "pop-up");
        ASSERT_TRUE(ChangeDisplaySize(1024, 768));
        if (!withProgramManager) {
            ASSERT_TRUE(standin_.Start({e2e::Layout::kWorkerW, 0, false}));
            ASSERT_TRUE(SetWindowTextW(DesktopStandin::Progman(), L"Desktop stand-in"));
        }
        DialogApp app({{L"auto_hide_icons_sec", L"1"}, {L"m_wallpaper_color", L"255"}});
        StartAndLetTheIconsHide(app);
        HWND colour = TheColourWindow();
        ASSERT_NE(colour, nullptr);
        EXPECT_EQ(GetAncestor(colour, GA_PARENT) == GetDesktopWindow(), !withProgramManager);
        EXPECT_TRUE(e2e::WaitUntil([&] { return CoversTheScreen(colour); }, kAnswerMs));

        ASSERT_TRUE(ChangeDisplaySize(width, height));
        EXPECT_TRUE(e2e::WaitUntil([&] { return CoversTheScreen(colour); }, kAnswerMs));
    }
}

// Without a colour no window is ever made; the menu item then opens the colour dialog, and
// Cancel saves "none".
TEST_F(Colour, WithoutAColourNoWindowIsMadeAndTheMenuItemOpensTheColourDialogWhereCancelSavesNone) {
    DialogApp app({{L"auto_hide_icons_sec", L"1"}});
    StartAndLetTheIconsHide(app);
    EXPECT_TRUE(ColourWindows().empty());
    ClickEmptyDesktop();
    ASSERT_TRUE(WaitForIcons(true, kAnswerMs));
    ASSERT_TRUE(WaitForIcons(false, kHideMs));
    app.Dialog().Settle();
    EXPECT_TRUE(ColourWindows().empty());

    const DWORD process = app.App().Running().Id();
    ASSERT_TRUE(app.Dialog().ChooseMoreOption(kColourItem));
    HWND colourDialog = nullptr;
    ASSERT_TRUE(e2e::WaitUntil(
        [&] { return (colourDialog = FindColourDialog(process, app.Dialog().Window())) != nullptr; }, kAnswerMs));
    EXPECT_EQ(GetWindow(colourDialog, GW_OWNER), app.Dialog().Window());
    PostMessageW(colourDialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(e2e::WaitUntil([&] { return app.Ini(L"m_wallpaper_color") == L"-1"; }, kAnswerMs));
    EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindow(colourDialog) == 0; }, kAnswerMs));
}

}  // namespace
