#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "extras/bitmap_scaler.h"
#include "support/guarded_buffer.h"

namespace {

// The same value in the blue and the alpha byte: both must come out alike.
constexpr std::uint32_t BlueAndAlpha(std::uint32_t value) {
    return value * 0x01000001u;
}

std::vector<std::uint32_t> Scale(const std::vector<std::uint32_t>& pixels,
                                 int width,
                                 int height,
                                 int targetWidth,
                                 int targetHeight) {
    // The source ends at an inaccessible page, so a read past its last pixel faults.
    GuardedBuffer source(pixels.size() * sizeof(std::uint32_t));
    std::memcpy(source.Data(), pixels.data(), source.Size());
    std::vector<std::uint32_t> target(static_cast<size_t>(targetWidth) * targetHeight, 0xDEADBEEF);
    ScalePixels(reinterpret_cast<const std::uint32_t*>(source.Data()), width, height, target.data(), targetWidth,
                targetHeight);
    return target;
}

HBITMAP MakeDib(int width, int height, const std::vector<std::uint32_t>& pixels) {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits) {
        std::memcpy(bits, pixels.data(), pixels.size() * sizeof(std::uint32_t));
    }
    return bitmap;
}

}  // namespace

TEST(HeaderPictureScaling, InterpolatesEveryByteBetweenNeighboursWithSummedRatiosAndNeverReadsPastTheSource) {
    const std::vector<std::uint32_t> pattern = {0x01020304, 0xFFFEFDFC, 0x80808080, 0x00000000, 0x7F00FF10, 0x12345678};
    EXPECT_EQ(Scale(pattern, 3, 2, 3, 2), pattern) << "same size is an exact copy";

    // Doubling: the exact source pixel, then the truncated average of it and its neighbour,
    // alpha included; the last column has no right neighbour and repeats.
    EXPECT_EQ(Scale({0x10FF0020, 0xFF00FF21}, 2, 1, 4, 1),
              (std::vector<std::uint32_t>{0x10FF0020, 0x877F7F20, 0xFF00FF21, 0xFF00FF21}));

    // 4 -> 12: nine steps of 1/3 add up to just under 3, so column 9 still leans on column 2.
    std::vector<std::uint32_t> ramp = Scale({0, 0, BlueAndAlpha(0), BlueAndAlpha(255)}, 4, 1, 12, 1);
    EXPECT_EQ(ramp[9], BlueAndAlpha(254));
    EXPECT_EQ(ramp[11], BlueAndAlpha(255));

    // Last row and column blend only with themselves.
    const std::vector<std::uint32_t> square = {BlueAndAlpha(0), BlueAndAlpha(100),  //
                                               BlueAndAlpha(200), BlueAndAlpha(40)};
    const std::uint32_t expected[4][4] = {{0, 50, 100, 100}, {100, 85, 70, 70}, {200, 120, 40, 40}, {200, 120, 40, 40}};
    std::vector<std::uint32_t> scaled = Scale(square, 2, 2, 4, 4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(scaled[y * 4 + x], BlueAndAlpha(expected[y][x])) << "at " << x << "," << y;
        }
    }

    // A long enlargement sums its small steps past the last column.
    EXPECT_EQ(Scale({BlueAndAlpha(1), BlueAndAlpha(9)}, 2, 1, 50000, 1).back(), BlueAndAlpha(9));
}

TEST(HeaderPictureScaling, ReplacesTheBitmapByAScaledOneAndDeletesTheOldButRefusesEmptySizes) {
    const HBITMAP original = MakeDib(2, 1, {0x10FF0020, 0xFF00FF21});
    ASSERT_NE(original, nullptr);
    BITMAP info = {};

    HBITMAP bitmap = original;
    for (auto [width, height] : {std::pair{0, 3}, {4, 0}, {-4, 3}, {4, -3}}) {
        EXPECT_FALSE(ScaleBitmap(bitmap, width, height)) << width << " x " << height;
        EXPECT_EQ(bitmap, original);
    }
    ASSERT_NE(GetObjectW(original, sizeof(info), &info), 0) << "a refused size keeps the bitmap alive";

    ASSERT_TRUE(ScaleBitmap(bitmap, 4, 2));
    EXPECT_NE(bitmap, original);
    EXPECT_EQ(GetObjectW(original, sizeof(info), &info), 0) << "the old bitmap is deleted";
    ASSERT_NE(GetObjectW(bitmap, sizeof(info), &info), 0);
    EXPECT_EQ(info.bmWidth, 4);
    EXPECT_EQ(info.bmHeight, 2);

    BITMAPINFO format = {};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), 4, 2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<std::uint32_t> pixels(8);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDIBits(screen, bitmap, 0, 2, pixels.data(), &format, DIB_RGB_COLORS), 2);
    ReleaseDC(nullptr, screen);
    const std::vector<std::uint32_t> row = {0x10FF0020, 0x877F7F20, 0xFF00FF21, 0xFF00FF21};
    for (int y = 0; y < 2; ++y) {
        EXPECT_EQ(std::vector<std::uint32_t>(pixels.begin() + y * 4, pixels.begin() + y * 4 + 4), row) << "row " << y;
    }
    DeleteObject(bitmap);
}
