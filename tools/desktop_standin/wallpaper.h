// The desktop picture behind the icons: an evening sky over two hills, drawn once per size
// into a bitmap and copied on every erase.
#pragma once
#include <windows.h>

namespace standin {

// A device-independent bitmap of `width` x `height`, or null. The caller deletes it.
HBITMAP CreateWallpaper(int width, int height);

// Copies the part of `wallpaper` under `area` (client coordinates of a window whose origin is
// the wallpaper's) into `dc`; fills with a plain colour when there is no bitmap.
void PaintWallpaper(HDC dc, HBITMAP wallpaper, const RECT& area);

}  // namespace standin
