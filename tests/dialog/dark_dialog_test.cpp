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
#include <vector>

#include "appearance/dark_mode.h"
#include "appearance/dark_mode_hook.h"
#include "appearance/owner_drawn_menu_bar.h"
#include "dialog/settings_dialog.h"
#include "resource_ids.h"
#include "unit/support/english_pack.h"
#include "unit/support/fake_dark_mode_api.h"

namespace {

constexpr uint32_t kDarkBackgroundPixel = 0x202020;  // 0x00RRGGBB as the screen hands it out
constexpr uint32_t kDarkTextPixel = 0xDEDEDE;
const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The dialog repairs a Run value that names another exe: one left for Velmora.exe must
// survive this process.
class RunValueKeeper {
  public:
    RunValueKeeper() {
        kept_ = RegGetValueW(HKEY_CURRENT_USER, kRunKey, L"Velmora", RRF_RT_REG_SZ, nullptr, data_, &bytes_) == 0;
    }
    ~RunValueKeeper() {
        if (kept_) {
            RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Velmora", REG_SZ, data_, bytes_);
        }
    }

  private:
    wchar_t data_[1024] = L"";
    DWORD bytes_ = sizeof(data_);
    bool kept_ = false;
};

// What the window shows, frame included, top-down in window coordinates.
struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF; }
    int Count(const RECT& area, uint32_t colour) const {
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
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

uint32_t PixelOf(COLORREF colour) {
    return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

class LightSettingsDialog : public DarkSettingsDialog {
  protected:
    bool StartsDark() const override { return false; }
};

}  // namespace

// The system switches between light, dark and high contrast while the program runs: the dialog
// follows at once, its link bar with it; disable_dark_theme=1 keeps it light whatever the
// system says.
TEST_F(LightSettingsDialog, FollowsTheAppModeAndHighContrastWhileRunning) {
    const uint32_t light = PixelOf(GetSysColor(COLOR_BTNFACE));
    ASSERT_TRUE(BackgroundTurns(light, 0, nullptr));
    fakeDarkSystem.appsUseDarkMode = true;
    EXPECT_TRUE(BackgroundTurns(kDarkBackgroundPixel, 0, L"ImmersiveColorSet"));
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
    fakeDarkSystem.highContrast = true;
    EXPECT_TRUE(BackgroundTurns(light, SPI_SETHIGHCONTRAST, nullptr));
    EXPECT_EQ(fakeDarkSystem.titleBarCalls.back().dark, FALSE);
    fakeDarkSystem.highContrast = false;
    EXPECT_TRUE(BackgroundTurns(kDarkBackgroundPixel, SPI_SETHIGHCONTRAST, nullptr));

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
