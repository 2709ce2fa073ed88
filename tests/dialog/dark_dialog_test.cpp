// The real settings dialog, from the program's own template, created in this process with a
// system that offers dark mode, and read back pixel by pixel.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <optional>
#include <thread>
#include <vector>

#include "appearance/dark_mode.h"
#include "appearance/dark_mode_hook.h"
#include "appearance/owner_drawn_menu_bar.h"
#include "dialog/settings_dialog.h"
#include "resource_ids.h"
#include "unit/support/english_pack.h"
#include "unit/support/fake_dark_mode_api.h"
#include "dialog/run_value_keeper.h"

namespace {

constexpr uint32_t kDarkBackgroundPixel = 0x202020;  // 0x00RRGGBB as the screen hands it out
constexpr uint32_t kDarkTextPixel = 0xDEDEDE;
constexpr uint32_t kBandStartPixel = 0xF6F500;  // the language menu's side band, at its left edge

// What the window shows, frame included, top-down in window coordinates.
struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF; }
    int Count(const RECT& area, uint32_t colour) const {
        int count = 0;
        for (int y = std::max(area.top, 0L); y < std::min(area.bottom, static_cast<LONG>(height)); ++y) {
            for (int x = std::max(area.left, 0L); x < std::min(area.right, static_cast<LONG>(width)); ++x) {
                count += At(x, y) == colour ? 1 : 0;
            }
        }
        return count;
    }
};

Picture CaptureWindow(HWND window) {
    RECT bounds = {};
    GetWindowRect(window, &bounds);
    Picture picture{bounds.right - bounds.left, bounds.bottom - bounds.top, {}};
    BITMAPINFO format = {{sizeof(BITMAPINFOHEADER), picture.width, -picture.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    void* bits = nullptr;
    HDC source = GetWindowDC(window);
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateDIBSection(source, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, picture.width, picture.height, source, 0, 0, SRCCOPY);
    GdiFlush();
    picture.pixels.assign(static_cast<uint32_t*>(bits), static_cast<uint32_t*>(bits) + picture.width * picture.height);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, source);
    return picture;
}

// The screen's pixels inside `area`.
Picture CaptureScreen(const RECT& area) {
    Picture picture{area.right - area.left, area.bottom - area.top, {}};
    BITMAPINFO format = {{sizeof(BITMAPINFOHEADER), picture.width, -picture.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, picture.width, picture.height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    picture.pixels.assign(static_cast<uint32_t*>(bits), static_cast<uint32_t*>(bits) + picture.width * picture.height);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return picture;
}

// A top-down 32-bit BMP, for the README (ImageMagick makes the PNG).
void SavePicture(const Picture& picture, const char* path) {
    BITMAPINFOHEADER info = {sizeof(info), picture.width, -picture.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const DWORD pixelBytes = static_cast<DWORD>(picture.pixels.size() * 4);
    const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof(info);
    BITMAPFILEHEADER header = {0x4D42, offset + pixelBytes, 0, 0, offset};
    if (FILE* file = std::fopen(path, "wb")) {
        std::fwrite(&header, sizeof(header), 1, file);
        std::fwrite(&info, sizeof(info), 1, file);
        std::fwrite(picture.pixels.data(), 1, pixelBytes, file);
        std::fclose(file);
    }
}

RECT ControlBounds(HWND dialog, HWND control) {
    RECT window = {}, bounds = {};
    GetWindowRect(dialog, &window);
    GetWindowRect(control, &bounds);
    OffsetRect(&bounds, -window.left, -window.top);
    return bounds;
}

// The table of a system that offers dark mode, without resetting what the fakes say.
DarkModeApi DarkModeApiKeepingFakes() {
    const FakeDarkModeSystem said = fakeDarkSystem;
    DarkModeApi api = FakeDarkModeApi();
    fakeDarkSystem = said;
    return api;
}

class DarkSettingsDialog : public EnglishPackTest {
  protected:
    void SetUp() override {
        EnglishPackTest::SetUp();
        INITCOMMONCONTROLSEX controls = {sizeof(controls), 0x5FF};
        InitCommonControlsEx(&controls);
        InitDarkModeWith(FakeDarkModeApi(), 0);
        if (!StartsDark()) {
            fakeDarkSystem.appsUseDarkMode = false;
            InitDarkModeWith(DarkModeApiKeepingFakes(), 0);
        }
        hook_ = InstallDarkModeHook(GetModuleHandleW(nullptr));
        dialog_ = CreateSettingsDialog(nullptr, true);
        ASSERT_NE(dialog_, nullptr);
        KillTimer(dialog_, 4000);  // no engine ticks in a test process
        SetWindowPos(dialog_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    }
    void TearDown() override {
        DestroyWindow(dialog_);
        settingsDialog = nullptr;
        UnhookWindowsHookEx(hook_);
        ResetDarkMode();
        EnglishPackTest::TearDown();
    }

    // Handles this thread's messages until the picture shows `done` or the time is up.
    bool PaintUntil(Picture& picture, const std::function<bool(const Picture&)>& done) {
        const DWORD start = GetTickCount();
        while (!done(picture = CaptureWindow(dialog_))) {
            if (GetTickCount() - start > 10000) {
                return false;
            }
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessageW(&message);
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
        return true;
    }

    virtual bool StartsDark() const { return true; }

    // Opens the language menu as the "# LNG" button does, reads it off the screen once `drawn`
    // holds (from a second thread, as the menu's loop holds this one) and closes it again.
    bool LanguageMenuShows(const std::function<bool(const Picture&)>& drawn,
                           const std::function<void(HWND popup)>& whileOpen = nullptr) {
        bool shown = false;
        std::thread watcher([&] {
            const DWORD start = GetTickCount();
            HWND popup = nullptr;
            while (!shown && GetTickCount() - start < 10000) {
                Sleep(20);
                popup = OwnPopup();
                if (popup != nullptr) {
                    shown = drawn(CaptureWindow(popup));
                    if (shown && whileOpen) {
                        whileOpen(popup);
                    }
                }
            }
            PostMessageW(popup != nullptr ? popup : dialog_, WM_KEYDOWN, VK_ESCAPE, 0);
        });
        SendMessageW(dialog_, WM_COMMAND, IDM_LANGUAGE_MENU, 0);
        watcher.join();
        return shown;
    }

    static HWND OwnPopup() {
        for (HWND window = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); window != nullptr;
             window = FindWindowExW(nullptr, window, L"#32768", nullptr)) {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process == GetCurrentProcessId() && IsWindowVisible(window)) {
                return window;
            }
        }
        return nullptr;
    }

    // The dialog's plain background, left of the "Preferences" group, once it shows `colour`
    // (0x00RRGGBB) after a change of the system's colours that `message` reports.
    bool BackgroundTurns(uint32_t colour, WPARAM wParam, const wchar_t* area) {
        SendMessageW(dialog_, WM_SETTINGCHANGE, wParam, reinterpret_cast<LPARAM>(area));
        const RECT group = ControlBounds(dialog_, GetDlgItem(dialog_, IDC_PREFERENCES_GROUP));
        const RECT disable = ControlBounds(dialog_, GetDlgItem(dialog_, IDC_DISABLE));
        Picture picture;
        return PaintUntil(picture, [&](const Picture& p) {
            return p.At(group.left - 4, (disable.top + disable.bottom) / 2) == colour;
        });
    }

    RunValueKeeper runValue_;
    HHOOK hook_ = nullptr;
    HWND dialog_ = nullptr;
};

// The dialog and the open menu off the screen, once the screen shows the menu as drawn.
void SaveDialogWithMenu(HWND popup, const std::function<bool(const Picture&)>& drawn, const char* path) {
    RECT dialog = {}, menu = {}, both = {};
    GetWindowRect(settingsDialog, &dialog);
    GetWindowRect(popup, &menu);
    UnionRect(&both, &dialog, &menu);
    for (int attempt = 0; attempt < 100 && !drawn(CaptureScreen(menu)); ++attempt) {
        Sleep(30);
    }
    SavePicture(CaptureScreen(both), path);
}

uint32_t PixelOf(COLORREF colour) {
    return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

// The palette of Windows' "High Contrast Black" while it lives, for the README's picture (a
// test run by hand in a session of its own with Wine's visual style off, as Windows draws high
// contrast: the colours are the whole session's).
class HighContrastBlackColours {
  public:
    HighContrastBlackColours() {
        for (int element : kElements) {
            kept_.push_back(GetSysColor(element));
        }
        const COLORREF colours[] = {RGB(0, 0, 0),       RGB(255, 255, 255), RGB(0, 0, 0),     RGB(255, 255, 255),
                                    RGB(0, 0, 0),       RGB(255, 255, 255), RGB(0, 0, 0),     RGB(26, 235, 255),
                                    RGB(26, 235, 255),  RGB(0, 0, 0),       RGB(63, 242, 63), RGB(255, 255, 0),
                                    RGB(255, 255, 255), RGB(255, 255, 255)};
        SetSysColors(static_cast<int>(std::size(kElements)), kElements, colours);
    }
    ~HighContrastBlackColours() { SetSysColors(static_cast<int>(std::size(kElements)), kElements, kept_.data()); }

  private:
    static constexpr int kElements[] = {COLOR_WINDOW,      COLOR_WINDOWTEXT,    COLOR_BTNFACE,  COLOR_BTNTEXT,
                                        COLOR_MENU,        COLOR_MENUTEXT,      COLOR_MENUBAR,  COLOR_HIGHLIGHT,
                                        COLOR_MENUHILIGHT, COLOR_HIGHLIGHTTEXT, COLOR_GRAYTEXT, COLOR_HOTLIGHT,
                                        COLOR_BTNSHADOW,   COLOR_BTNHIGHLIGHT};
    std::vector<COLORREF> kept_;
};

// Most of the menu in `background`, its texts in `text`, with or without the yellow side band.
std::function<bool(const Picture&)> MenuIn(uint32_t background, uint32_t text, bool band) {
    return [=](const Picture& p) {
        const RECT all = {0, 0, p.width, p.height};
        return p.Count(all, background) > p.width * p.height / 2 && p.Count(all, text) > 50 &&
               (p.Count(all, kBandStartPixel) > 0) == band;
    };
}

class LightSettingsDialog : public DarkSettingsDialog {
  protected:
    bool StartsDark() const override { return false; }
};

}  // namespace

// The system switches between light, dark and high contrast while the program runs: the dialog
// follows at once, its link bar with it, and so does the next menu opened; disable_dark_theme=1
// keeps it light whatever the system says. Wine has no high contrast (it always answers off and
// refuses to switch it on), so the fake table answers for the system here.
TEST_F(LightSettingsDialog, FollowsTheAppModeAndHighContrastWhileRunning) {
    const uint32_t light = PixelOf(GetSysColor(COLOR_BTNFACE));
    ASSERT_TRUE(BackgroundTurns(light, 0, nullptr));
    EXPECT_TRUE(LanguageMenuShows(MenuIn(PixelOf(GetSysColor(COLOR_MENU)), PixelOf(GetSysColor(COLOR_MENUTEXT)), true)))
        << "light, with its band";
    fakeDarkSystem.appsUseDarkMode = true;
    EXPECT_TRUE(BackgroundTurns(kDarkBackgroundPixel, 0, L"ImmersiveColorSet"));
    EXPECT_TRUE(LanguageMenuShows(MenuIn(kDarkBackgroundPixel, kDarkTextPixel, true))) << "the next menu is dark";
    Picture picture;
    EXPECT_TRUE(PaintUntil(picture, [&](const Picture& p) {
        return p.Count(ControlBounds(dialog_, LinkBarWindow()), kDarkTextPixel) > 10;
    }));
    ASSERT_FALSE(fakeDarkSystem.titleBarCalls.empty());
    EXPECT_EQ(fakeDarkSystem.titleBarCalls.back().dark, TRUE) << "the title bar follows";

    fakeDarkSystem.appsUseDarkMode = false;
    EXPECT_TRUE(BackgroundTurns(light, 0, L"ImmersiveColorSet"));
    fakeDarkSystem.appsUseDarkMode = true;
    EXPECT_TRUE(BackgroundTurns(kDarkBackgroundPixel, 0, L"ImmersiveColorSet"));
    const char* picturePath = std::getenv("VELMORA_HIGH_CONTRAST_PICTURE");
    std::optional<HighContrastBlackColours> palette;
    if (picturePath != nullptr) {
        palette.emplace();
    }
    fakeDarkSystem.highContrast = true;
    EXPECT_TRUE(BackgroundTurns(PixelOf(GetSysColor(COLOR_BTNFACE)), SPI_SETHIGHCONTRAST, nullptr));
    EXPECT_EQ(fakeDarkSystem.titleBarCalls.back().dark, FALSE);
    const auto highContrastMenu = MenuIn(PixelOf(GetSysColor(COLOR_MENU)), PixelOf(GetSysColor(COLOR_MENUTEXT)), false);
    EXPECT_TRUE(LanguageMenuShows(highContrastMenu, [&](HWND popup) {
        if (picturePath != nullptr) {
            SaveDialogWithMenu(popup, highContrastMenu, picturePath);
        }
    })) << "high contrast: the system's colours, no band";
    palette.reset();
    fakeDarkSystem.highContrast = false;
    EXPECT_TRUE(BackgroundTurns(kDarkBackgroundPixel, SPI_SETHIGHCONTRAST, nullptr));
    EXPECT_TRUE(LanguageMenuShows(MenuIn(kDarkBackgroundPixel, kDarkTextPixel, true)))
        << "high contrast off: dark as before";

    InitDarkModeWith(DarkModeApiKeepingFakes(), 1);
    EXPECT_TRUE(BackgroundTurns(light, 0, L"ImmersiveColorSet"));
    EXPECT_FALSE(IsDarkModeActive()) << "disable_dark_theme=1";

    // New system colours reach the common controls, the right-hand buttons on the bar too.
    static int told = 0;
    auto counter = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) -> LRESULT {
        told += message == WM_SYSCOLORCHANGE ? 1 : 0;
        return DefSubclassProc(window, message, wParam, lParam);
    };
    for (HWND control : {LinkBarWindow(), DialogMenuBar().RightToolbar(), GetDlgItem(dialog_, IDC_HIDE_TIME_SLIDER)}) {
        SetWindowSubclass(control, counter, 7, 0);
    }
    SendMessageW(dialog_, WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(told, 3);
}

TEST_F(DarkSettingsDialog, ShowsLightTextOnTheDarkBackgroundWithADarkTitleBar) {
    // Left of the "Preferences" group, level with its first check box: plain dialog background.
    const RECT group = ControlBounds(dialog_, GetDlgItem(dialog_, IDC_PREFERENCES_GROUP));
    const RECT disable = ControlBounds(dialog_, GetDlgItem(dialog_, IDC_DISABLE));
    const POINT background = {group.left - 4, (disable.top + disable.bottom) / 2};
    Picture picture;
    ASSERT_TRUE(PaintUntil(picture,
                           [&](const Picture& p) {
                               return p.At(background.x, background.y) == kDarkBackgroundPixel &&
                                      p.Count(disable, kDarkTextPixel) > 0;
                           }))
        << std::hex << picture.At(background.x, background.y);
    if (const char* path = std::getenv("VELMORA_DARK_DIALOG_PICTURE")) {
        SavePicture(picture, path);
    }

    // The check box's text, right of its box: the text colour on a background that dominates.
    RECT label = disable;
    label.left += GetSystemMetrics(SM_CXMENUCHECK) + 2;
    EXPECT_GT(picture.Count(label, kDarkTextPixel), 5);
    EXPECT_GT(picture.Count(label, kDarkBackgroundPixel), (label.right - label.left) * (label.bottom - label.top) / 2);
    // The link bar's buttons take the custom-draw text colour.
    EXPECT_GT(picture.Count(ControlBounds(dialog_, LinkBarWindow()), kDarkTextPixel), 10);
    // So do the menu bar's, those at its right end through the bar.
    EXPECT_GT(picture.Count(ControlBounds(dialog_, DialogMenuBar().Window()), kDarkTextPixel), 10);
    EXPECT_GT(picture.Count(ControlBounds(dialog_, DialogMenuBar().RightToolbar()), kDarkTextPixel), 10);

    // The dialog asked for its own dark look and a dark title bar.
    const auto& allowed = fakeDarkSystem.allowedWindows;
    EXPECT_NE(std::find(allowed.begin(), allowed.end(), dialog_), allowed.end());
    ASSERT_FALSE(fakeDarkSystem.titleBarCalls.empty());
    EXPECT_EQ(fakeDarkSystem.titleBarCalls.front().window, dialog_);
    EXPECT_EQ(fakeDarkSystem.titleBarCalls.front().dark, TRUE);
}
