// The dark look's own painting: toolbar button colours, the rebar background and the
// status-bar text. Pure over the records and device contexts they are given, so tests can
// check them on memory bitmaps.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <optional>

// Text and marks of toolbar buttons on a dark dialog. The answer to the custom-draw
// notification, or nothing for the stages the toolbar draws as usual.
std::optional<LRESULT> DarkToolbarCustomDraw(NMTBCUSTOMDRAW& draw);

// The rebar's background: solid black, or with `soft` a gradient from dark grey to black over
// the client's height, within the clip box's columns.
void PaintRebarBackground(HDC dc, const RECT& clip, const RECT& client, bool soft);

// The status bar's text again, in white over what the control painted.
void RepaintStatusBarText(HWND statusBar);
