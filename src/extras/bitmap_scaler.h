// Stretching the dialog's header picture on screens above 96 dpi.
#pragma once
#include <windows.h>

// Replaces `bitmap` by a copy scaled to width x height and deletes the old one. On failure
// (or while scaling is unavailable) returns false and leaves `bitmap` as it was.
bool ScaleBitmap(HBITMAP& bitmap, int width, int height);
