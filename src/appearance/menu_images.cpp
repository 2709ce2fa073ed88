#include "appearance/menu_images.h"

HICON LoadShellIcon(int id) {
    // shell32 is loaded with the common controls; its module handle never changes.
    static HMODULE shell = GetModuleHandleW(L"shell32");
    return shell != nullptr ? LoadIconW(shell, MAKEINTRESOURCEW(id)) : nullptr;
}

void CommandImages::Reset(int width, int height) {
    list_.Reset();
    width_ = width;
    height_ = height;
    count_ = 0;
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
    if (icon == nullptr || ImageList_ReplaceIcon(list_.Get(), -1, icon) < 0) {
        return 0;
    }
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
