#include "tray/grey_icon.h"

#include "common/scoped_handle.h"

void GreyPixels(uint32_t* pixels, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        uint32_t pixel = pixels[i];
        if ((pixel & 0xFFFFFFu) == 0) {
            continue;
        }
        double red = (pixel >> 16) & 0xFF;
        double green = (pixel >> 8) & 0xFF;
        double blue = pixel & 0xFF;
        auto level = static_cast<uint32_t>(0.587 * green + 0.114 * blue + 0.299 * red);
        pixels[i] = (pixel & 0xFF000000u) | level << 16 | level << 8 | level;
    }
}

HICON MakeGreyIcon(HICON icon) {
    ICONINFO info = {};
    if (icon == nullptr || !GetIconInfo(icon, &info)) {
        return nullptr;
    }
    ScopedGdiObject mask(info.hbmMask);
    ScopedGdiObject colour(info.hbmColor);
    BITMAP description = {};
    if (!colour || GetObjectW(colour.Get(), sizeof(description), &description) != sizeof(description)) {
        return nullptr;  // a monochrome icon has nothing to grey
    }
    ScreenDc screen;
    if (screen.Get() == nullptr) {
        return nullptr;
    }
    // The colour bitmap's own size: an icon's hot spot is its centre only by convention.
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = description.bmWidth;
    format.bmiHeader.biHeight = -description.bmHeight;  // top-down
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    ScopedGdiObject grey(CreateDIBSection(screen.Get(), &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!grey || bits == nullptr) {
        return nullptr;
    }
    auto rows = static_cast<UINT>(description.bmHeight);
    if (GetDIBits(screen.Get(), static_cast<HBITMAP>(colour.Get()), 0, rows, bits, &format, DIB_RGB_COLORS) !=
        static_cast<int>(rows)) {
        return nullptr;
    }
    GdiFlush();
    GreyPixels(static_cast<uint32_t*>(bits), static_cast<size_t>(description.bmWidth) * rows);
    ICONINFO greyInfo = {};
    greyInfo.fIcon = TRUE;
    greyInfo.hbmMask = static_cast<HBITMAP>(mask.Get());
    greyInfo.hbmColor = static_cast<HBITMAP>(grey.Get());
    return CreateIconIndirect(&greyInfo);  // copies both bitmaps
}
