// One way to put a procedure in front of a window's own: the common controls' subclass chain.
// Each window keeps its own chain and data, whoever subclassed it before or after us is still
// reached, and a procedure that passes WM_NCDESTROY on through PassToWindow takes itself out.
#pragma once
#include <windows.h>

#include <commctrl.h>

// Returns false when the window could not be subclassed; it then runs as it did.
bool AttachSubclass(HWND window, SUBCLASSPROC procedure, void* data);

// Takes the procedure out of the window's chain; harmless when it is not in it.
void DetachSubclass(HWND window, SUBCLASSPROC procedure);

// The answer of the rest of the chain, for a message the procedure leaves to the window. At
// WM_NCDESTROY the procedure leaves the chain first, so none outlives its window.
LRESULT PassToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam, SUBCLASSPROC procedure);
