// Stretching the dialog's header picture on screens above 96 dpi.
#pragma once
#include <windows.h>

#include <cstdint>

// Replaces `bitmap` by a copy scaled to width x height and deletes the old one. On failure,
// and for a width or height of 0 or less, returns false and leaves `bitmap` as it was.
bool ScaleBitmap(HBITMAP& bitmap, int width, int height);

// The bilinear resampling behind ScaleBitmap, on 32-bit pixels (bytes blue, green, red,
// alpha; rows in buffer order). Both sizes must be positive; `target` holds
// targetWidth x targetHeight pixels.
void ScalePixels(const std::uint32_t* source,
                 int sourceWidth,
                 int sourceHeight,
                 std::uint32_t* target,
                 int targetWidth,
                 int targetHeight);
