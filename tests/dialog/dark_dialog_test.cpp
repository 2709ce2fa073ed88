// The real settings dialog, from the program's own template, created in this process with a
// system that offers dark mode, and read back pixel by pixel.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "appearance/dark_mode.h"
#include "dialog/settings_dialog.h"
#include "resource_ids.h"
#include "unit/support/english_pack.h"
#include "unit/support/fake_dark_mode_api.h"

namespace {

constexpr uint32_t kDarkBackgroundPixel = 0x202020;  // 0x00RRGGBB as the screen hands it out
constexpr uint32_t kDarkTextPixel = 0xDEDEDE;
const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The dialog checks its Run value at start and repairs one that names another exe: the one a
// test left for Velmora.exe must survive this process.
class RunValueKeeper {
  public:
    RunValueKeeper() {
        DWORD bytes = sizeof(data_);
        kept_ = RegGetValueW(HKEY_CURRENT_USER, kRunKey, L"Velmora", RRF_RT_REG_SZ, nullptr, data_, &bytes) ==
                ERROR_SUCCESS;
        bytes_ = bytes;
    }
    ~RunValueKeeper() {
        if (kept_) {
            RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Velmora", REG_SZ, data_, bytes_);
        }
    }

  private:
    wchar_t data_[1024] = L"";
    DWORD bytes_ = 0;
    bool kept_ = false;
};

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF; }
};

// What the window shows, title bar and frame included, in window coordinates.
Picture CaptureWindow(HWND window) {
    RECT bounds = {};
    GetWindowRect(window, &bounds);
    Picture picture;
    picture.width = bounds.right - bounds.left;
    picture.height = bounds.bottom - bounds.top;
    BITMAPINFO format = {};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), picture.width, -picture.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC source = GetWindowDC(window);
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateDIBSection(source, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, picture.width, picture.height, source, 0, 0, SRCCOPY);
    GdiFlush();
    auto* first = static_cast<uint32_t*>(bits);
    picture.pixels.assign(first, first + picture.width * picture.height);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, source);
    return picture;
}

// A 24-bit BMP, for the README's picture; ImageMagick turns it into a PNG.
void SavePicture(const Picture& picture, const char* path) {
    FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        return;
    }
    const int rowBytes = (picture.width * 3 + 3) & ~3;
    BITMAPFILEHEADER fileHeader = {};
    BITMAPINFOHEADER infoHeader = {sizeof(infoHeader), picture.width, picture.height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    fileHeader.bfType = 0x4D42;
    fileHeader.bfOffBits = sizeof(fileHeader) + sizeof(infoHeader);
    fileHeader.bfSize = fileHeader.bfOffBits + rowBytes * picture.height;
    std::fwrite(&fileHeader, sizeof(fileHeader), 1, file);
    std::fwrite(&infoHeader, sizeof(infoHeader), 1, file);
    std::vector<uint8_t> row(rowBytes, 0);
    for (int y = picture.height - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width; ++x) {
            const uint32_t pixel = picture.At(x, y);
            row[x * 3] = pixel & 0xFF;
            row[x * 3 + 1] = (pixel >> 8) & 0xFF;
            row[x * 3 + 2] = (pixel >> 16) & 0xFF;
        }
        std::fwrite(row.data(), 1, row.size(), file);
    }
    std::fclose(file);
}

// Handles the thread's messages until `condition` holds or the time is up.
template <typename Condition>
bool PumpUntil(Condition condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

RECT ControlBounds(HWND dialog, int id) {
    RECT window = {};
    RECT control = {};
    GetWindowRect(dialog, &window);
    GetWindowRect(GetDlgItem(dialog, id), &control);
    OffsetRect(&control, -window.left, -window.top);
    return control;
}

int CountPixels(const Picture& picture, const RECT& area, uint32_t colour) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            count += picture.At(x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

// The largest of the three components over the area.
uint32_t BrightestLevel(const Picture& picture, const RECT& area) {
    uint32_t brightest = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const uint32_t p = picture.At(x, y);
            brightest = std::max({brightest, p & 0xFF, (p >> 8) & 0xFF, (p >> 16) & 0xFF});
        }
    }
    return brightest;
}

class DarkSettingsDialog : public EnglishPackTest {
  protected:
    void SetUp() override {
        EnglishPackTest::SetUp();
        INITCOMMONCONTROLSEX controls = {sizeof(controls), 0x5FF};
        InitCommonControlsEx(&controls);
        InitDarkModeWith(FakeDarkModeApi(), 0, 1);
        hook_ = InstallDarkModeHook(GetModuleHandleW(nullptr));
        ASSERT_NE(hook_, nullptr);
        dialog_ = CreateSettingsDialog(nullptr, true);
        ASSERT_NE(dialog_, nullptr);
        KillTimer(dialog_, 4000);  // no engine ticks in a test process
        SetWindowPos(dialog_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        RedrawWindow(dialog_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    void TearDown() override {
        if (dialog_ != nullptr) {
            DestroyWindow(dialog_);
        }
        settingsDialog = nullptr;
        if (hook_ != nullptr) {
            UnhookWindowsHookEx(hook_);
        }
        ResetDarkMode();
        EnglishPackTest::TearDown();
    }

    RunValueKeeper runValue_;
    HHOOK hook_ = nullptr;
    HWND dialog_ = nullptr;
};

}  // namespace

TEST_F(DarkSettingsDialog, ShowsLightTextOnTheDarkBackgroundWithADarkTitleBar) {
    // Left of the "Preferences" group, level with the first check box: plain dialog background.
    const RECT group = ControlBounds(dialog_, IDC_PREFERENCES_GROUP);
    const RECT disable = ControlBounds(dialog_, IDC_DISABLE);
    const POINT background = {group.left - 4, (disable.top + disable.bottom) / 2};
    Picture picture;
    ASSERT_TRUE(PumpUntil(
        [&] {
            picture = CaptureWindow(dialog_);
            return picture.At(background.x, background.y) == kDarkBackgroundPixel &&
                   CountPixels(picture, disable, kDarkTextPixel) > 0;
        },
        10000))
        << std::hex << picture.At(background.x, background.y);
    if (const char* path = std::getenv("VELMORA_DARK_DIALOG_PICTURE")) {
        SavePicture(picture, path);
    }

    // The check box's text, right of its box, is light on dark: drawn in the text colour (its
    // smoothed edges at most a level brighter), and the background dominates.
    RECT label = disable;
    label.left += GetSystemMetrics(SM_CXMENUCHECK) + 2;
    EXPECT_GT(CountPixels(picture, label, kDarkTextPixel), 5);
    EXPECT_LE(BrightestLevel(picture, label), 0xDFu);
    const int area = (label.right - label.left) * (label.bottom - label.top);
    EXPECT_GT(CountPixels(picture, label, kDarkBackgroundPixel), area / 2);

    // The link bar's buttons take the custom-draw text colour.
    RECT linkBar = {};
    GetWindowRect(LinkBarWindow(), &linkBar);
    RECT window = {};
    GetWindowRect(dialog_, &window);
    OffsetRect(&linkBar, -window.left, -window.top);
    EXPECT_GT(CountPixels(picture, linkBar, kDarkTextPixel), 10);

    // The dialog asked for its own dark look and a dark title bar.
    EXPECT_NE(std::find(fakeDarkSystem.allowedWindows.begin(), fakeDarkSystem.allowedWindows.end(), dialog_),
              fakeDarkSystem.allowedWindows.end());
    ASSERT_FALSE(fakeDarkSystem.titleBarCalls.empty());
    EXPECT_EQ(fakeDarkSystem.titleBarCalls.front().window, dialog_);
    EXPECT_EQ(fakeDarkSystem.titleBarCalls.front().dark, TRUE);
}
