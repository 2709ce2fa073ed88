#include "appearance/menu_images.h"

#include <utility>

namespace {

// shell32 is loaded with the common controls; its module handle never changes.
HMODULE Shell32() {
    static HMODULE shell = GetModuleHandleW(L"shell32");
    return shell;
}

bool BitmapIsSized(HBITMAP bitmap, int width, int height) {
    BITMAP info = {};
    return GetObjectW(bitmap, sizeof(info), &info) != 0 && info.bmWidth == width && info.bmHeight == height;
}

}  // namespace

HICON LoadShellIcon(int id) {
    return Shell32() != nullptr ? LoadIconW(Shell32(), MAKEINTRESOURCEW(id)) : nullptr;
}

HICON LoadShellIconSized(int id, int width, int height) {
    return Shell32() != nullptr
               ? static_cast<HICON>(LoadImageW(Shell32(), MAKEINTRESOURCEW(id), IMAGE_ICON, width, height, 0))
               : nullptr;
}

int AddIconToImageList(HIMAGELIST list, HICON icon) {
    int width = 0;
    int height = 0;
    ICONINFO parts = {};
    if (list == nullptr || icon == nullptr || !ImageList_GetIconSize(list, &width, &height) ||
        !GetIconInfo(icon, &parts)) {
        return ImageList_ReplaceIcon(list, -1, icon);
    }
    ScopedGdiObject colour(parts.hbmColor);
    ScopedGdiObject mask(parts.hbmMask);
    // An icon already of the list's size goes in by its own bitmaps. ReplaceIcon would first
    // load it again from its resource for the best fit, which under Wine costs milliseconds an
    // icon, and the fit is this very picture. Any other icon (another size, black and white)
    // takes ReplaceIcon's way.
    if (colour && BitmapIsSized(parts.hbmColor, width, height)) {
        return ImageList_Add(list, parts.hbmColor, parts.hbmMask);
    }
    return ImageList_ReplaceIcon(list, -1, icon);
}

void CommandImages::Reset(int width, int height) {
    list_.Reset();
    width_ = width;
    height_ = height;
    for (int i = 0; i < count_; ++i) {
        icons_[i].Reset();
    }
    count_ = 0;
}

void CommandImages::Resize(int width, int height) {
    if (width == width_ && height == height_) {
        return;
    }
    width_ = width;
    height_ = height;
    list_.Reset(count_ > 0 ? ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, count_, 1) : nullptr);
    for (int i = 0; list_ && i < count_; ++i) {
        // A picture missing would shift every one after it: no pictures rather than wrong ones.
        if (ImageList_ReplaceIcon(list_.Get(), -1, icons_[i].Get()) < 0) {
            list_.Reset();
        }
    }
}

UINT CommandImages::Register(HICON icon, UINT command) {
    if (count_ >= kCapacity) {
        return 0;
    }
    if (!list_) {
        list_.Reset(ImageList_Create(width_, height_, ILC_COLOR32 | ILC_MASK, 1, 1));
        if (!list_) {
            return 0;
        }
    }
    // Without shell32 there is no icon, and the command simply has no picture.
    ScopedIcon copy(icon != nullptr ? CopyIcon(icon) : nullptr);
    if (!copy || ImageList_ReplaceIcon(list_.Get(), -1, icon) < 0) {
        return 0;
    }
    icons_[count_] = std::move(copy);
    commands_[count_++] = command;
    return command;
}

int CommandImages::IndexOf(UINT command) const {
    for (int i = 0; i < count_; ++i) {
        if (commands_[i] == command) {
            return i;
        }
    }
    return -1;
}

void CommandImages::Draw(HDC dc, int index, int x, int y) const {
    if (list_ && index >= 0 && index < count_) {
        ImageList_Draw(list_.Get(), index, dc, x, y, ILD_TRANSPARENT);
    }
}
