// Solid brushes shared by the program's windows and menus.
#pragma once
#include <windows.h>

// One solid brush per colour for the life of the process: windows and menus given a brush keep
// using it, so it is never deleted under them. Null when the system refuses the brush. Any
// thread (the desktop colour's window has one of its own).
HBRUSH SolidBrushFor(COLORREF colour);
