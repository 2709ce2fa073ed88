// The "More options" item that covers the wallpaper with a solid colour while the icons are
// hidden: its text, and the command that switches the colour on (with the colour dialog) or off.
#pragma once
#include <windows.h>

#include "common/text.h"

// The item's text for a colour (a COLORREF, or -1 for none): the base text, followed for a
// colour by " (0x" RRGGBB ")" in the usual red-green-blue order.
Text FormatColourMenuText(const wchar_t* baseText, int colour);

// The item's text for the current language and m_wallpaper_color.
Text ColourMenuText();

// Shows the system's colour dialog, starting at `initial`, with the custom colours of earlier
// uses during this run. Returns the chosen COLORREF, or -1 when the user cancels.
int PickColour(HWND owner, int initial);

// Command 32907: without a colour, the colour dialog chooses one; with a colour, the item
// switches it off. The value is saved at once.
void OnDesktopColourCommand(HWND dialog);
