// The menu font: the one the system uses for menus, at the DPI of the monitor a menu opens on,
// made once per DPI and kept until the process ends (windows and menus given the font keep
// using it). GUI thread only.
#pragma once
#include <windows.h>

struct MenuFont {
    UINT dpi;
    // The system's menu font at `dpi`: the GUI font where the system cannot say, scaled from
    // the screen's DPI where it cannot tell one DPI's metrics.
    LOGFONTW logFont;
    HFONT plain;  // null when the system refuses it: text is then drawn in the context's font
    HFONT bold;   // for a menu's default item; null until asked for, the plain one if refused
};

// The menu font at `dpi`, with its bold variant when `withBold`.
const MenuFont& MenuFontAt(UINT dpi, bool withBold = false);
