// The solid-colour window that covers the wallpaper while the icons are hidden: an opaque,
// click-through window of the colour m_wallpaper_color, a child of the shell's "Program
// Manager" window above its desktop view, covering its client area. Without "Program Manager",
// or when the window cannot become its layered child, it is a pop-up over the virtual screen
// just above the window that holds the desktop view, below every program, never topmost. It
// exists only while the icons are hidden, and follows every change of the desktop's size. It
// lives on a thread of its own, so that a hung shell never holds the program (window_thread.h);
// each call below waits for it a moment at most.
#pragma once
#include <windows.h>

// Called after every change of the icons' visibility, with the shell's desktop view (the list
// view's parent). Icons hidden with a colour set: creates the window (a new one when the shell
// took the old one away) or raises the one there is. Icons shown: removes the window, whatever
// the colour is by now.
void UpdateColourWindow(bool iconsVisible, HWND desktopView);

// Removes the window if there is one: the colour was switched off, or the program is ending.
// Any thread may call it.
void RemoveColourWindow();

// Fits the window to the desktop's new size (WM_DISPLAYCHANGE: a monitor added or taken away,
// a resolution changed), if it has changed since the window was placed.
void FitColourWindowToDisplay();

// Called on every tick: a child of "Program Manager" follows the shell, which resizes its
// desktop in its own time after a display change. One size query while there is such a
// child, nothing otherwise (a pop-up's virtual screen is known at the display change).
void FitColourWindowToShellDesktop();

// The calls that decide where the window can go, for tests to make fail; the system's by
// default (the layered call looked up once, null where the system lacks it).
struct ColourWindowCalls {
    using SetLayeredAttributes = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
    HWND(WINAPI* setParent)(HWND child, HWND parent);
    SetLayeredAttributes setLayeredAttributes;
    int(WINAPI* systemMetric)(int index);
};
// Null puts the system's calls back.
void UseColourWindowCalls(const ColourWindowCalls* replacement);
