// The icons drawn beside menu commands: shell32's icons, and the image list that maps a
// command to its picture.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "common/scoped_handle.h"

// Icon `id` of shell32 (shared, not to be destroyed); null when shell32 is not loaded.
HICON LoadShellIcon(int id);

// Icon `id` of shell32 in the picture that best fits `width` x `height`, the caller's to
// destroy; null when shell32 is not loaded.
HICON LoadShellIconSized(int id, int width, int height);

// Adds `icon` at the end of `list` as ImageList_ReplaceIcon does; returns its index, or -1.
int AddIconToImageList(HIMAGELIST list, HICON icon);

// Pictures for menu commands, in the order they were registered.
class CommandImages {
  public:
    static constexpr int kCapacity = 256;

    // Forgets every picture; the next registration makes a list of `width` x `height` images.
    void Reset(int width, int height);

    // Adds a copy of `icon` as the picture of `command`. Returns `command`, or 0 when the list
    // cannot be made, the icon cannot be added or the list is full.
    UINT Register(HICON icon, UINT command);

    // The pictures at `width` x `height` from now on (a menu on a monitor of another DPI): made
    // again from the registered icons when the size changes.
    void Resize(int width, int height);

    // The first picture registered for `command`, or -1.
    int IndexOf(UINT command) const;

    // Draws picture `index` with its transparent parts left as they are.
    void Draw(HDC dc, int index, int x, int y) const;

    int Count() const { return count_; }

  private:
    ScopedImageList list_;
    int width_ = 0;
    int height_ = 0;
    UINT commands_[kCapacity] = {};
    ScopedIcon icons_[kCapacity];  // the registered icons, for the pictures of another size
    int count_ = 0;
};
