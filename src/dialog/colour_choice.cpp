#include "dialog/colour_choice.h"

#include "lang/language_pack.h"
#include "settings/settings.h"

namespace {

constexpr int kColourTextId = 61;  // "Change the desktop background to a color"

}  // namespace

Text FormatColourMenuText(const wchar_t* baseText, int colour) {
    if (colour == kNoWallpaperColour) {
        return Text(baseText);
    }
    // A COLORREF keeps red in its low byte; people read colours red first.
    return Text::Format(L"%s (0x%02X%02X%02X)", baseText, colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

Text ColourMenuText() {
    return FormatColourMenuText(GetText(kColourTextId), settings.m_wallpaper_color);
}

void OnDesktopColourCommand() {
    // The colour dialog and the colour window are not built yet: the item changes nothing.
}
