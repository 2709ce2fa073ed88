// The tray icon's look while the program is disabled: a grey copy of its picture.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

// Grey levels of 32-bit pixels as GDI hands them out (0xAARRGGBB): each colour becomes
// 0.587 G + 0.114 B + 0.299 R, truncated; pure black and the alpha byte stay as they are.
void GreyPixels(uint32_t* pixels, size_t count);

// A grey copy of `icon` with the same mask, or null. The caller keeps `icon`.
HICON MakeGreyIcon(HICON icon);
