// The shell's top-level desktop windows: "Program Manager" (class "Progman") and, in the
// WorkerW layout, two "WorkerW" windows, the first empty and hidden, the second holding the
// desktop view. They cover the virtual screen and stay at the bottom of the z-order in this
// order (top to bottom): empty worker, view worker, "Program Manager". In the 24H2 layout the
// wallpaper's "WorkerW" is a child of "Program Manager", below the desktop view.
#pragma once
#include <windows.h>

#include "standin_protocol.h"

namespace standin {

// Registers the window classes and creates the hidden window that owns the desktop's
// windows and the secondary taskbars. False on failure.
bool StartShellWindows(HINSTANCE instance);
// Destroys the desktop's windows and their owner.
void EndShellWindows();

// The owner for the desktop's top-level windows: Wine's taskbar shows a button for every
// visible window without an owner, tool windows included.
HWND ShellOwner();

// Creates the windows of `layout` (destroying any earlier ones first). False when a window
// could not be created; whatever was created stays until DestroyShellWindows. Readiness is
// reported through OnDesktopViewReady (control_window.h) once the icons are placed and the
// stacking order has settled.
bool BuildShellWindows(Layout layout);
void DestroyShellWindows();

// The current desktop view, or null.
HWND ShellDefView();

// The desktop view `defView` has placed its icons.
void OnDesktopIconsPlaced(HWND defView);

// Follows a change of the screen's size.
void FitShellWindowsToScreen();

}  // namespace standin
