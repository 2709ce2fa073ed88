// The link bar: a flat toolbar with text buttons along the settings dialog's bottom edge.
#pragma once
#include <windows.h>

// Appends a text button with an image of the toolbar's image list; it sends `command` to
// the toolbar's parent.
void AddLinkButton(HWND toolbar, const wchar_t* text, int command, int image);

// Removes the first `count` buttons.
void RemoveLinkButtons(HWND toolbar, int count);

// Lets the keyboard work a bar made with WS_TABSTOP: the focused button shows as the hot one,
// the arrow keys move along the buttons and Enter or Space presses the focused one, as on a
// push button.
void MakeLinkBarReachable(HWND toolbar);
