#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <vector>

#include "e2e/support/dialog_app.h"
#include "resource_ids.h"

namespace {

using e2e::DialogApp;

RECT ClientRectOf(HWND dialog, int id) {
    RECT rect = {};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The header picture is light blue to its right edge; the dialog behind it is grey.
bool LooksBlue(COLORREF colour) {
    return GetBValue(colour) > GetRValue(colour) + 15;
}

// Every colour of the header picture as it is stored (a picture of 256 colours at most).
std::set<COLORREF> StoredPictureColours() {
    std::set<COLORREF> colours;
    auto picture = static_cast<HBITMAP>(LoadImageW(nullptr, e2e::WindowsPath(VELMORA_HEADER_PICTURE_PATH).c_str(),
                                                   IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    BITMAP size = {};
    GetObjectW(picture, sizeof(size), &size);
    BITMAPINFO format = {};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), size.bmWidth, size.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> pixels(static_cast<size_t>(size.bmWidth) * size.bmHeight);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, picture, 0, size.bmHeight, pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(picture);
    for (DWORD pixel : pixels) {
        colours.insert(RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF));
    }
    return colours;
}

}  // namespace

// Runs in a Wine prefix of its own at 144 dpi (ctest entry e2e_HighDpi, tests/e2e/high_dpi.sh).
TEST(HighDpi, HeaderPictureIsScaledAcrossTheWholeWidthOfTheDialog) {
    SetProcessDPIAware();  // our coordinates and the program's in the same pixels
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    if (dpi != 144) {
        GTEST_SKIP() << "the screen has " << dpi << " dpi; the suite needs 144";
    }
    DialogApp app({{L"lng", L"1"}});
    HWND dialog = app.Start();
    ASSERT_NE(dialog, nullptr);
    app.Dialog().Activate();
    RECT client = {};
    GetClientRect(dialog, &client);
    RECT header = ClientRectOf(dialog, IDC_HEADER_PICTURE);
    RECT line = ClientRectOf(dialog, IDC_HEADER_LINE);
    EXPECT_EQ(header.left, 0);
    EXPECT_EQ(header.top, 0);
    EXPECT_EQ(header.right, client.right);
    EXPECT_EQ(header.bottom, line.top);
    // Unscaled, the 660 pixels of the picture would end well before the dialog's right edge.
    ASSERT_GT(client.right, 660 + 60);

    POINT corner = {0, 0};
    ClientToScreen(dialog, &corner);
    HDC desktop = GetDC(nullptr);
    for (int y : {header.bottom / 4, header.bottom / 2, header.bottom - 2}) {
        for (int x : {client.right - 40, client.right - 2}) {
            COLORREF colour = GetPixel(desktop, corner.x + x, corner.y + y);
            EXPECT_TRUE(LooksBlue(colour)) << "at " << x << "," << y << ": " << std::hex << colour;
        }
    }
    // Stretching alone (as Wine's static control does with any picture) only repeats stored
    // colours; the bilinear scaler mixes neighbours into new ones (about one pixel in eight).
    std::set<COLORREF> stored = StoredPictureColours();
    ASSERT_GT(stored.size(), 16u);
    int samples = 0;
    int mixed = 0;
    for (int y = 1; y < header.bottom - 1; y += 3) {
        for (int x = 1; x < client.right - 1; x += 5) {
            ++samples;
            mixed += stored.count(GetPixel(desktop, corner.x + x, corner.y + y)) == 0 ? 1 : 0;
        }
    }
    ReleaseDC(nullptr, desktop);
    EXPECT_GT(mixed * 20, samples) << mixed << " of " << samples << " samples in colours the picture does not store";
}
