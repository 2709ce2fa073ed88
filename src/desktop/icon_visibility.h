// Showing or hiding the desktop's list view that a caller already holds, with the colour
// window following the icons.
#pragma once
#include <windows.h>

// Shows or hides `listView` without looking it up or comparing; then updates the colour
// window. Hiding does nothing once the program has stopped all hiding.
void ApplyIconsVisible(HWND listView, bool show);
