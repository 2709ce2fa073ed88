#include "appearance/menu_pixels.h"

#include "appearance/background_fill.h"

namespace {

void FillPixels(PixelSink& sink, int x, int y, int count, COLORREF colour) {
    sink.Fill(RECT{x, y, x + count, y + 1}, colour);
}

// Components stay in 8 bits whatever the arithmetic gave, as a BYTE store would.
COLORREF Rgb8(int red, int green, int blue) {
    return RGB(red & 0xFF, green & 0xFF, blue & 0xFF);
}

}  // namespace

void PaintCheckMark(PixelSink& sink, const RECT& cell, COLORREF colour) {
    const int height = cell.bottom - cell.top;
    const int centreX = cell.left + ((cell.right - cell.left) >> 1);
    const int centreY = cell.top + (height >> 1);
    const int radius = static_cast<int>(height * 0.25);
    const int left = centreX - radius;
    const int right = centreX + radius;
    const int half = (right - left) >> 1;
    const int quarter = (right - left) >> 2;
    const int thickness = half - quarter > 0 ? half - quarter : 1;

    int y = centreY - radius + quarter;
    int x = left;
    for (; x < right - half; ++x) {
        ++y;
        FillPixels(sink, x, y, thickness, colour);
    }
    // The up stroke starts on the down stroke's last column, so the two meet without a gap.
    if (x > left) {
        --x;
    }
    for (; x < right + thickness / 2; ++x, --y) {
        FillPixels(sink, x, y, thickness, colour);
    }
}

void PaintSubmenuArrow(PixelSink& sink, const RECT& box, COLORREF colour) {
    const int height = box.bottom - box.top;
    const int centreX = box.left + ((box.right - box.left) >> 1);
    const int centreY = box.top + (height >> 1);
    const int size = static_cast<int>(height * 0.33);
    const int stroke = (2 * size) >> 2;
    if (stroke == 0) {
        return;
    }
    for (int i = 0; i < size; ++i) {
        FillPixels(sink, centreX + i, centreY - size + 1 + i, stroke, colour);
        FillPixels(sink, centreX + i, centreY + size - 1 - i, stroke, colour);
    }
}

void PaintSelectionGradient(PixelSink& sink, const RECT& area, COLORREF highlight) {
    const int rows = area.bottom - area.top;
    const COLORREF end = RGB(static_cast<int>(GetRValue(highlight) * 0.4), static_cast<int>(GetGValue(highlight) * 0.4),
                             static_cast<int>(GetBValue(highlight) * 0.4));
    for (int row = 0; row < rows; ++row) {
        sink.Fill(RECT{area.left, area.top + row, area.right, area.top + row + 1},
                  GradientRowColour(highlight, end, row, rows));
    }
}

void PaintSideBand(PixelSink& sink, const RECT& band) {
    constexpr int kStartRed = 246, kStartGreen = 245, kEndRed = 213, kEndGreen = 209;
    const int width = band.right - band.left;
    if (width <= 0) {
        return;
    }
    // The per-column step is a float quotient, so the last column stops short of the end colour.
    const float redStep = static_cast<float>(kEndRed - kStartRed) / static_cast<float>(width);
    const float greenStep = static_cast<float>(kEndGreen - kStartGreen) / static_cast<float>(width);
    for (int column = 0; column < width; ++column) {
        const COLORREF colour = Rgb8(kStartRed + static_cast<int>(static_cast<float>(column) * redStep),
                                     kStartGreen + static_cast<int>(static_cast<float>(column) * greenStep), 0);
        sink.Fill(RECT{band.left + column, band.top, band.left + column + 1, band.bottom}, colour);
    }
}
