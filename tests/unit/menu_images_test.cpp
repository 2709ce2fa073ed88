#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "appearance/menu_images.h"
#include "resource_ids.h"
#include "support/program_resources.h"

namespace {

// What `list` shows of image `index` drawn with `style` over a patterned background: the
// pattern makes every transparent and half-transparent pixel count.
std::vector<DWORD> Drawn(HIMAGELIST list, int index, UINT style) {
    int width = 0;
    int height = 0;
    ImageList_GetIconSize(list, &width, &height);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP target = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, target);
    auto* pixels = static_cast<DWORD*>(bits);
    for (int i = 0; i < width * height; ++i) {
        pixels[i] = (i % 3 == 0) ? 0x00FF00FF : 0x0000A0A0 + static_cast<DWORD>(i);
    }
    ImageList_Draw(list, index, dc, 0, 0, style);
    GdiFlush();
    std::vector<DWORD> drawn(pixels, pixels + width * height);
    SelectObject(dc, old);
    DeleteObject(target);
    DeleteDC(dc);
    return drawn;
}

// A 32-bit icon whose alpha runs from clear to opaque across it or, without `alpha`, one that
// only its mask makes transparent in places.
HICON MadeIcon(int size, bool alpha) {
    std::vector<DWORD> colour(static_cast<size_t>(size * size));
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const DWORD opacity = alpha ? static_cast<DWORD>(255 * x / (size - 1)) : 0;
            colour[static_cast<size_t>(y * size + x)] = (opacity << 24) | (0x30u * y % 256 << 16) | 0x4080u;
        }
    }
    std::vector<BYTE> mask(static_cast<size_t>(size * size / 8), 0);
    for (size_t i = 0; i < mask.size(); i += 3) {
        mask[i] = 0xF0;
    }
    ICONINFO parts = {};
    parts.fIcon = TRUE;
    parts.hbmColor = CreateBitmap(size, size, 1, 32, colour.data());
    parts.hbmMask = CreateBitmap(size, size, 1, 1, mask.data());
    HICON icon = CreateIconIndirect(&parts);
    DeleteObject(parts.hbmColor);
    DeleteObject(parts.hbmMask);
    return icon;
}

}  // namespace

// The link bar's pictures go in by their bitmaps when they have the list's size: what the
// list then draws must be what ImageList_ReplaceIcon would have made of the same icon, alpha,
// mask and all, and an icon of any other size must still become exactly one picture.
TEST(MenuImages, AnIconAddedByItsBitmapsDrawsAsReplaceIconMakesIt) {
    HMODULE program = LoadProgramResources();
    ASSERT_NE(program, nullptr);
    LoadLibraryW(L"shell32.dll");
    for (int size : {16, 24}) {
        struct Case {
            const char* name;
            HICON icon;
        } cases[] = {
            {"shell32's information icon", LoadShellIconSized(14, size, size)},
            {"the program's link icon",
             static_cast<HICON>(LoadImageW(program, MAKEINTRESOURCEW(IDI_LINK), IMAGE_ICON, size, size, 0))},
            {"the program's icon",
             static_cast<HICON>(LoadImageW(program, MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON, size, size, 0))},
            {"graded alpha", MadeIcon(size, true)},
            {"a mask and no alpha", MadeIcon(size, false)},
            {"twice the list's size", MadeIcon(size * 2, true)},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(size));
            ASSERT_NE(c.icon, nullptr);
            HIMAGELIST fast = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 0, 1);
            HIMAGELIST replaced = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 0, 1);
            EXPECT_EQ(AddIconToImageList(fast, c.icon), 0);
            EXPECT_EQ(ImageList_ReplaceIcon(replaced, -1, c.icon), 0);
            EXPECT_EQ(ImageList_GetImageCount(fast), 1);
            for (UINT style : {ILD_NORMAL, ILD_TRANSPARENT}) {
                EXPECT_EQ(Drawn(fast, 0, style), Drawn(replaced, 0, style)) << "style " << style;
            }
            ImageList_Destroy(fast);
            ImageList_Destroy(replaced);
            DestroyIcon(c.icon);
        }
    }
    HIMAGELIST empty = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 1);
    EXPECT_EQ(AddIconToImageList(empty, nullptr), -1);
    ImageList_Destroy(empty);
    FreeLibrary(program);
}
