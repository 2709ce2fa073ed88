#include <gtest/gtest.h>

#include <windows.h>

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
    ReleaseDC(nullptr, desktop);
}
