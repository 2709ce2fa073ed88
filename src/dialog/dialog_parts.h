// The settings dialog's window and the bars it owns. The dialog hands them to the modules that
// act on it, so none of them reaches for the dialog through a global.
#pragma once
#include <windows.h>

class OwnerDrawnMenuBar;

struct DialogParts {
    HWND window = nullptr;
    HWND linkBar = nullptr;  // the toolbar along the bottom edge
    OwnerDrawnMenuBar* menuBar = nullptr;
    UINT dpi = 0;  // what the dialog is laid out for; 0: the DPI of its window
};
