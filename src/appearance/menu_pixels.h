// The pictures of the owner-drawn menus that are computed rather than taken from the system:
// the check mark, the submenu arrow, the selection gradient and the language menu's side band.
// They paint through a sink, so the same recipe feeds a device context or a test's grid.
#pragma once
#include <windows.h>

class PixelSink {
  public:
    // Fills `area` (right and bottom exclusive) with `colour`.
    virtual void Fill(const RECT& area, COLORREF colour) = 0;

  protected:
    ~PixelSink() = default;
};

// A tick centred in `cell`, its size following the cell's height.
void PaintCheckMark(PixelSink& sink, const RECT& cell, COLORREF colour);

// A right-pointing chevron centred in `box`; nothing when the box is too low for a stroke.
void PaintSubmenuArrow(PixelSink& sink, const RECT& box, COLORREF colour);

// Rows from `highlight` at the top towards 40 % of it at the bottom.
void PaintSelectionGradient(PixelSink& sink, const RECT& area, COLORREF highlight);

// A yellow band that darkens from left to right, one colour per column.
void PaintSideBand(PixelSink& sink, const RECT& band);
