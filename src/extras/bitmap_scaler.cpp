#include "extras/bitmap_scaler.h"

#include <cmath>
#include <cstdint>
#include <memory>
#include <new>

#include "common/scoped_handle.h"

namespace {

BITMAPINFO ThirtyTwoBitBottomUp(int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // positive: rows run bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// The float sum of many small ratios can drift past the last pixel on a big enlargement, so
// the base pixel is held inside the picture as well as its neighbour.
int LastAtMost(int index, int count) {
    return index >= count ? count - 1 : index;
}

std::uint32_t Blend(std::uint32_t p00, std::uint32_t p10, std::uint32_t p01, std::uint32_t p11, float fx, float fy) {
    const float w00 = (1 - fx) * (1 - fy);
    const float w10 = fx * (1 - fy);
    const float w01 = (1 - fx) * fy;
    const float w11 = fx * fy;
    std::uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        auto byte = [shift](std::uint32_t pixel) { return static_cast<float>((pixel >> shift) & 0xFF); };
        float value = w00 * byte(p00) + w10 * byte(p10) + w01 * byte(p01) + w11 * byte(p11);
        result |= static_cast<std::uint32_t>(value) << shift;
    }
    return result;
}

}  // namespace

void ScalePixels(const std::uint32_t* source,
                 int sourceWidth,
                 int sourceHeight,
                 std::uint32_t* target,
                 int targetWidth,
                 int targetHeight) {
    const float xRatio = static_cast<float>(sourceWidth) / static_cast<float>(targetWidth);
    const float yRatio = static_cast<float>(sourceHeight) / static_cast<float>(targetHeight);
    // Summed step by step, not multiplied out: the sum's rounding decides which source pixels a
    // few columns take, and the header has always been scaled this way.
    float sy = 0;
    for (int ty = 0; ty < targetHeight; ++ty) {
        const int yFloor = static_cast<int>(std::floor(sy));
        const float fy = sy - static_cast<float>(yFloor);
        const int y0 = LastAtMost(yFloor, sourceHeight);
        const int y1 = LastAtMost(y0 + 1, sourceHeight);
        const std::uint32_t* row0 = source + static_cast<size_t>(y0) * sourceWidth;
        const std::uint32_t* row1 = source + static_cast<size_t>(y1) * sourceWidth;
        std::uint32_t* out = target + static_cast<size_t>(ty) * targetWidth;
        float sx = 0;
        for (int tx = 0; tx < targetWidth; ++tx) {
            const int xFloor = static_cast<int>(std::floor(sx));
            const float fx = sx - static_cast<float>(xFloor);
            const int x0 = LastAtMost(xFloor, sourceWidth);
            const int x1 = LastAtMost(x0 + 1, sourceWidth);
            out[tx] = Blend(row0[x0], row0[x1], row1[x0], row1[x1], fx, fy);
            sx += xRatio;
        }
        sy += yRatio;
    }
}

bool ScaleBitmap(HBITMAP& bitmap, int width, int height) {
    if (width <= 0 || height <= 0) {
        return false;
    }
    BITMAP size = {};
    GetObjectW(bitmap, sizeof(size), &size);
    const int sourceWidth = size.bmWidth;
    const int sourceHeight = size.bmHeight;
    std::unique_ptr<std::uint32_t[]> source;
    if (sourceWidth > 0 && sourceHeight > 0 &&
        static_cast<size_t>(sourceWidth) <= SIZE_MAX / sizeof(std::uint32_t) / static_cast<size_t>(sourceHeight)) {
        source.reset(new (std::nothrow) std::uint32_t[static_cast<size_t>(sourceWidth) * sourceHeight]);
    }
    if (!source) {
        MessageBoxW(nullptr, L"s", nullptr, MB_OK);
        return false;
    }

    BITMAPINFO sourceInfo = ThirtyTwoBitBottomUp(sourceWidth, sourceHeight);
    int rows = GetDIBits(ScreenDc().Get(), bitmap, 0, sourceHeight, source.get(), &sourceInfo, DIB_RGB_COLORS);
    if (rows == 0) {
        return false;
    }

    // The new picture is made before the old one goes, so a failure leaves the caller a valid
    // handle rather than a deleted one.
    BITMAPINFO targetInfo = ThirtyTwoBitBottomUp(width, height);
    ScopedGdiObject scaled(CreateDIBSection(nullptr, &targetInfo, DIB_RGB_COLORS, nullptr, nullptr, 0));
    BITMAP section = {};
    if (!scaled || !GetObjectW(scaled.Get(), sizeof(section), &section) || !section.bmBits) {
        return false;
    }
    ScalePixels(source.get(), sourceWidth, sourceHeight, static_cast<std::uint32_t*>(section.bmBits), width, height);
    GdiFlush();

    DeleteObject(bitmap);
    bitmap = static_cast<HBITMAP>(scaled.Release());
    return true;
}
