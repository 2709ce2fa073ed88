// The desktop colour window against a "Program Manager" of the test's own, with the calls that
// Windows may refuse (the move into another window, the layering of a child window) made to
// fail, and the virtual screen placed where a monitor left of and above the primary puts it.
// Wine never refuses them, and draws no child of another process, so only this shows where
// the window goes.
#include <gtest/gtest.h>

#include <windows.h>

#include "desktop/colour_window.h"
#include "settings/settings.h"
#include "settings/writable_settings.h"

namespace {

// A monitor left of and above the primary one.
RECT virtualScreen = {-1280, -300, 1280, 800};

int WINAPI ScriptedMetric(int index) {
    switch (index) {
        case SM_XVIRTUALSCREEN:
            return virtualScreen.left;
        case SM_YVIRTUALSCREEN:
            return virtualScreen.top;
        case SM_CXVIRTUALSCREEN:
            return virtualScreen.right - virtualScreen.left;
        case SM_CYVIRTUALSCREEN:
            return virtualScreen.bottom - virtualScreen.top;
        default:
            return GetSystemMetrics(index);
    }
}

HWND WINAPI RefusedMoveIntoAWindow(HWND child, HWND parent) {
    if (parent != nullptr) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    return SetParent(child, parent);
}

// Windows 7, or a program Windows takes for a Vista/7 one: no layered child windows.
BOOL WINAPI NoLayeredChildren(HWND window, COLORREF key, BYTE alpha, DWORD flags) {
    if ((GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return SetLayeredWindowAttributes(window, key, alpha, flags);
}

bool Covers(HWND window, RECT area) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return EqualRect(&rect, &area) != 0;
}

// The client area of `window` in screen coordinates.
RECT ClientOnScreen(HWND window) {
    RECT rect = {};
    GetClientRect(window, &rect);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Shown, opaque and letting clicks through.
bool DrawnAndClickThrough(HWND window) {
    BYTE alpha = 0;
    DWORD flags = 0;
    return IsWindowVisible(window) && GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) != 0 &&
           flags == LWA_ALPHA && alpha == 255 && (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0;
}

// The colour's thread destroys its window; the caller waits for it only a moment, and a busy
// machine can take longer.
bool GoneWithin(HWND window, DWORD milliseconds) {
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    while (IsWindow(window) && GetTickCount64() < deadline) {
        Sleep(10);
    }
    return !IsWindow(window);
}

class ColourWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        savedColour_ = settings.m_wallpaper_color;
        WritableSettings().m_wallpaper_color = RGB(0, 0, 255);
        calls_ = {SetParent, SetLayeredWindowAttributes, ScriptedMetric};
        virtualScreen = {-1280, -300, 1280, 800};
        // The shell's desktop window spans the virtual screen.
        progman_ = CreateWindowExW(WS_EX_TOOLWINDOW, L"Static", L"Program Manager", WS_POPUP | WS_VISIBLE,
                                   virtualScreen.left, virtualScreen.top, virtualScreen.right - virtualScreen.left,
                                   virtualScreen.bottom - virtualScreen.top, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(progman_, nullptr);
        defView_ = CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, progman_, nullptr, nullptr,
                                   nullptr);
    }
    void TearDown() override {
        UpdateColourWindow(true, defView_);
        UseColourWindowCalls(nullptr);
        DestroyWindow(progman_);
        WritableSettings().m_wallpaper_color = savedColour_;
    }

    // The icons hide, with the calls as the test has set them.
    HWND HideIcons() {
        UseColourWindowCalls(&calls_);
        UpdateColourWindow(false, defView_);
        return FindColourWindow();
    }
    HWND FindColourWindow() {
        for (HWND parent : {progman_, static_cast<HWND>(nullptr)}) {
            if (HWND window = FindWindowExW(parent, nullptr, L"Test____2___2________7", nullptr)) {
                return window;
            }
        }
        return nullptr;
    }

    ColourWindowCalls calls_ = {};
    HWND progman_ = nullptr;
    HWND defView_ = nullptr;
    int savedColour_ = 0;
};

// A child in the parent's client coordinates: placed by its old screen coordinates it would
// sit a second virtual-screen origin further up and left, leaving most of the desktop bare.
TEST_F(ColourWindow, GoesIntoProgramManagerAsATrueLayeredChildCoveringItAndFollowsItsSize) {
    HWND colour = HideIcons();
    ASSERT_NE(colour, nullptr);
    EXPECT_EQ(GetAncestor(colour, GA_PARENT), progman_);
    const LONG_PTR style = GetWindowLongPtrW(colour, GWL_STYLE);
    EXPECT_NE(style & WS_CHILD, 0);
    EXPECT_EQ(style & WS_POPUP, 0);
    EXPECT_TRUE(DrawnAndClickThrough(colour));
    EXPECT_TRUE(Covers(colour, ClientOnScreen(progman_)));
    EXPECT_TRUE(Covers(colour, virtualScreen));
    EXPECT_EQ(GetWindow(progman_, GW_CHILD), colour);  // above the desktop view

    // A monitor plugged in: the shell makes its desktop larger, maybe after the change was
    // announced, and the next tick follows.
    virtualScreen = {-1280, -300, 2560, 1024};
    MoveWindow(progman_, virtualScreen.left, virtualScreen.top, virtualScreen.right - virtualScreen.left,
               virtualScreen.bottom - virtualScreen.top, FALSE);
    FitColourWindowToShellDesktop();
    EXPECT_TRUE(Covers(colour, ClientOnScreen(progman_)));
    // Hiding again raises the same window.
    EXPECT_EQ(HideIcons(), colour);

    UpdateColourWindow(true, defView_);
    EXPECT_TRUE(GoneWithin(colour, 5000));
}

// Whichever step of the move fails, the colour still covers the wallpaper: as a layered,
// click-through pop-up over the virtual screen, which follows the screen's size too.
TEST_F(ColourWindow, FallsBackToAPopupOverTheVirtualScreenWhenTheMoveOrTheChildsLayerIsRefused) {
    const ColourWindowCalls refusals[] = {
        {RefusedMoveIntoAWindow, SetLayeredWindowAttributes, ScriptedMetric},
        {SetParent, NoLayeredChildren, ScriptedMetric},
    };
    for (const ColourWindowCalls& refusal : refusals) {
        SCOPED_TRACE(refusal.setParent == SetParent ? "layered child refused" : "move refused");
        virtualScreen = {-1280, -300, 1280, 800};
        calls_ = refusal;
        HWND colour = HideIcons();
        ASSERT_NE(colour, nullptr);
        EXPECT_EQ(GetAncestor(colour, GA_PARENT), GetDesktopWindow());
        const LONG_PTR style = GetWindowLongPtrW(colour, GWL_STYLE);
        EXPECT_EQ(style & WS_CHILD, 0);
        EXPECT_NE(style & WS_POPUP, 0);
        EXPECT_TRUE(DrawnAndClickThrough(colour));
        EXPECT_TRUE(Covers(colour, virtualScreen));

        virtualScreen = {0, 0, 1024, 768};  // the left monitor taken away
        FitColourWindowToDisplay();
        EXPECT_TRUE(Covers(colour, virtualScreen));
        UpdateColourWindow(true, defView_);
        EXPECT_TRUE(GoneWithin(colour, 5000));
    }
}

}  // namespace
