// Background painting shared by the program's windows: a plain colour, a gradient row, or the
// background of the dialog beneath a control that stands on another control.
#pragma once
#include <windows.h>

// Fills `area` with `colour` and puts the context's background colour back; false when the
// device context refuses the colour.
bool FillOpaque(HDC dc, const RECT& area, COLORREF colour);

// Row `row` of a vertical gradient `rows` high, each component stepping from `top` toward
// `bottom` in truncated equal parts.
COLORREF GradientRowColour(COLORREF top, COLORREF bottom, int row, int rows);

// Lets the grandparent of `window` erase `window`'s background into `dc`, shifted to where
// `window` lies in it, and returns the grandparent's answer.
LRESULT EraseWithGrandparent(HWND window, HDC dc);
