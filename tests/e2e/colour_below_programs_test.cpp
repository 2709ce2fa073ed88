// Without "Program Manager" the desktop colour is a pop-up of the program's own, which must
// stay below every other program, never topmost (issue 19), and let clicks through to the
// desktop. Wine draws no child window of another process, so this is where the colour on the
// screen is read back.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "e2e/support/desktop_standin.h"
#include "e2e/support/dialog_app.h"
#include "e2e/support/dialog_driver.h"

namespace {

using e2e::DesktopStandin;
using e2e::DialogApp;

constexpr wchar_t kColourClass[] = L"Test____2___2________7";
// Empty desktop right of the centred dialog, clear of Wine's taskbar.
constexpr POINT kRestingPoint = {1100, 300};
constexpr POINT kProbePoint = {1150, 150};  // the desktop's colour is read here
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);

std::vector<HWND> TopLevelColourWindows() {
    std::vector<HWND> found;
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, kColourClass, nullptr)) != nullptr) {
        found.push_back(window);
    }
    return found;
}

COLORREF ScreenPixel(POINT p) {
    HDC screen = GetDC(nullptr);
    COLORREF colour = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
}

// The screen's colour at `p` while this thread keeps taking its messages.
bool ScreenTurns(POINT p, COLORREF colour, DWORD timeoutMs) {
    return e2e::WaitUntil(
        [&] {
            PumpMessages();
            return ScreenPixel(p) == colour;
        },
        timeoutMs);
}

// Whether `lower` lies below `upper` in the z-order.
bool Below(HWND lower, HWND upper) {
    for (HWND window = GetWindow(upper, GW_HWNDNEXT); window != nullptr; window = GetWindow(window, GW_HWNDNEXT)) {
        if (window == lower) {
            return true;
        }
    }
    return false;
}

std::string ZOrder() {
    std::string text;
    for (HWND window = GetTopWindow(nullptr); window != nullptr; window = GetWindow(window, GW_HWNDNEXT)) {
        char name[64] = "";
        GetClassNameA(window, name, 64);
        text += std::string(name) + (IsWindowVisible(window) ? "+ " : "- ");
    }
    return text;
}

// A window of this process standing for any other program's: a green rectangle painted by
// its class brush, which needs this thread to take its messages (PumpMessages).
class OtherProgramWindow {
  public:
    explicit OtherProgramWindow(const RECT& rect) {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hbrBackground = brush_;
        windowClass.lpszClassName = kClass;
        RegisterClassW(&windowClass);
        window_ = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClass, L"", WS_POPUP | WS_VISIBLE, rect.left,
                                  rect.top, rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        centre_ = POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }
    ~OtherProgramWindow() {
        DestroyWindow(window_);
        UnregisterClassW(kClass, GetModuleHandleW(nullptr));
        DeleteObject(brush_);
    }
    OtherProgramWindow(const OtherProgramWindow&) = delete;
    OtherProgramWindow& operator=(const OtherProgramWindow&) = delete;

    HWND Handle() const { return window_; }
    POINT Centre() const { return centre_; }

  private:
    static constexpr wchar_t kClass[] = L"VelmoraTestOtherProgram";
    HBRUSH brush_ = CreateSolidBrush(kGreen);
    HWND window_ = nullptr;
    POINT centre_ = {};
};

}  // namespace

// Wine stacks a window it creates above every older one on the screen, whatever its place
// among the windows, and later moves it up among the windows to match (so the program's
// dialog, older than the colour window, says nothing here). So the other program's window
// comes after the colour window; the shell then shows the icons by itself, and when the
// program hides them again it places the same colour window once more. The screen shows the
// other window, and the colour still on the wallpaper. A click on the desktop goes through the
// colour: the icons come back and the colour goes.
TEST(ColourWithoutProgramManager, StaysBelowOtherProgramsNeverTopmostAndClicksStillReachTheDesktop) {
    DesktopStandin standin;
    ASSERT_TRUE(standin.Start({e2e::Layout::kWorkerW, 0, false}));
    ASSERT_TRUE(e2e::MoveCursor(kRestingPoint.x, kRestingPoint.y));
    ASSERT_TRUE(SetWindowTextW(DesktopStandin::Progman(), L"Desktop stand-in"));
    ASSERT_EQ(DesktopStandin::Progman(), nullptr);
    DialogApp app({{L"auto_hide_icons_sec", L"1"}, {L"m_wallpaper_color", L"255"}});
    ASSERT_NE(app.Start(), nullptr);
    ASSERT_TRUE(e2e::WaitUntil([] { return !DesktopStandin::IconsVisible(); }, 10000));
    HWND colour = nullptr;
    // Made hidden, then put in its place and shown.
    ASSERT_TRUE(e2e::WaitUntil(
        [&] {
            std::vector<HWND> windows = TopLevelColourWindows();
            colour = windows.size() == 1 ? windows[0] : nullptr;
            return colour != nullptr && IsWindowVisible(colour);
        },
        5000));

    OtherProgramWindow other(RECT{1120, 420, 1260, 560});
    ASSERT_TRUE(ScreenTurns(other.Centre(), kGreen, 3000)) << std::hex << ScreenPixel(other.Centre());
    ShowWindow(DesktopStandin::ListView(), SW_SHOW);
    ASSERT_TRUE(e2e::WaitUntil([] { return !DesktopStandin::IconsVisible(); }, 5000));
    ASSERT_TRUE(app.Dialog().CatchUp()) << "the tick that hid them has ended";
    ASSERT_EQ(TopLevelColourWindows(), std::vector<HWND>{colour}) << "the same window, placed again";

    EXPECT_TRUE(Below(colour, other.Handle())) << ZOrder();
    EXPECT_EQ(GetWindowLongW(colour, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_FALSE(ScreenTurns(other.Centre(), kRed, 500)) << "the colour covers another program's window";
    EXPECT_EQ(ScreenPixel(other.Centre()), kGreen);
    EXPECT_TRUE(ScreenTurns(kProbePoint, kRed, 1000)) << "the colour still covers the wallpaper";

    ASSERT_TRUE(e2e::MoveCursor(kRestingPoint.x, kRestingPoint.y));
    e2e::HoldLeftButton();
    ASSERT_TRUE(e2e::WaitUntil([] { return DesktopStandin::IconsVisible(); }, 5000));
    EXPECT_TRUE(e2e::WaitUntil([] { return TopLevelColourWindows().empty(); }, 5000));
    EXPECT_TRUE(e2e::WaitUntil(
        [] {
            PumpMessages();
            return ScreenPixel(kProbePoint) != kRed;
        },
        5000));
}
