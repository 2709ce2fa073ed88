#include "extras/bitmap_scaler.h"

// Not built yet: the picture keeps its size.

bool ScaleBitmap(HBITMAP&, int, int) {
    return false;
}
