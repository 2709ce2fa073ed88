// The DPI a window is shown at, and sizes scaled to it. Windows 10 1607 and later tell each
// window's own DPI (a per-monitor aware program gets the DPI of the monitor the window is on);
// older systems, and Wine, have one DPI for the whole screen.
#pragma once
#include <windows.h>

inline constexpr UINT kDefaultDpi = 96;

// The DPI of `window`, or the screen's DPI where the system cannot tell a window's own (or
// `window` is null).
UINT DpiOfWindow(HWND window);

// The screen's DPI: the one the system started with.
UINT ScreenDpi();

// `value` given at 96 dpi, at `dpi`, rounded to the nearest pixel.
int ScaleToDpi(int value, UINT dpi);

// GetSystemMetrics for `index` at `dpi`; at the screen's DPI where the system has no
// per-DPI metrics (the answer is then scaled from the screen's DPI).
int SystemMetricForDpi(int index, UINT dpi);

// The DPI of the monitor at `at` (screen coordinates): `window`'s own where the window is on
// that monitor, else the monitor's as shcore tells it (Windows 8.1 and later), else the
// screen's.
UINT DpiOfMonitorAt(POINT at, HWND window);

// A new font like `font` but `height` pixels high (a LOGFONT height: negative for the height
// of the characters); the caller owns it. Null where the system refuses it.
HFONT FontOfHeight(HFONT font, LONG height);

// A new font like `font`, which was made for the screen's DPI, made for `dpi`: its height
// scaled. The caller owns it; null at the screen's DPI (`font` is the one), and where the
// system refuses it.
HFONT FontAtDpi(HFONT font, UINT dpi);
