// Taskbars of further monitors: up to two thin topmost strips of class
// "Shell_SecondaryTrayWnd" at rectangles the tests may change. (The primary taskbar,
// "Shell_TrayWnd", is Wine's own.)
#pragma once
#include <windows.h>

namespace standin {

bool RegisterSecondaryTaskbarClass(HINSTANCE instance);

// Creates or destroys strips until `count` (0..kMaxSecondaryTaskbars) exist. False for a
// count out of range.
bool SetSecondaryTaskbarCount(int count);

// Moves strip `index` (existing or future) to `rect`. False for a bad index or rectangle.
bool SetSecondaryTaskbarRect(int index, const RECT& rect);

// Destroys the strips and makes them again (new handles, visible), as a shell restart does.
void RecreateSecondaryTaskbars();
void DestroySecondaryTaskbars();

}  // namespace standin
