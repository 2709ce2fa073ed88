// The program's window that takes the user's input. While a modal window of the program is
// open (the hot-key dialog, the colour or file dialog, a message box) the window under it is
// disabled: bringing that one forward would leave the user facing a window that takes no
// click and no key, with the one that does hidden behind it.
#pragma once
#include <windows.h>

// `window` while it is enabled; while modal windows hold it disabled, the last of them (a
// message box over the hot-key dialog over `window`). `window` itself when it is disabled by
// no window of the program (the ZIP folder's wait).
HWND InputWindow(HWND window);

// Cancels the modal windows over `window`, the last first, as their Cancel buttons would.
// Each ends when its own loop has its turn again; one that has no Cancel (a Yes/No message
// box) ends with the program's quit message.
void CancelModalWindows(HWND window);
