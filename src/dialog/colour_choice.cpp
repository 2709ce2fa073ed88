#include "dialog/colour_choice.h"

#include <commdlg.h>

#include "common/program.h"
#include "common/system_library.h"
#include "desktop/colour_window.h"
#include "lang/language_pack.h"
#include "lang/text_ids.h"
#include "settings/settings.h"
#include "settings/settings_table.h"

namespace {

// Offered again by every use of the colour dialog during the run; never saved.
COLORREF customColours[16] = {};

}  // namespace

Text FormatColourMenuText(const wchar_t* baseText, int colour) {
    if (colour == kNoWallpaperColour) {
        return Text(baseText);
    }
    // A COLORREF keeps red in its low byte; people read colours red first.
    return Text::Format(L"%s (0x%02X%02X%02X)", baseText, colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

Text ColourMenuText() {
    return FormatColourMenuText(GetText(kTextChangeTheDesktopBackground), settings.m_wallpaper_color);
}

int PickColour(HWND owner, int initial) {
    CHOOSECOLORW choice = {};
    choice.lStructSize = sizeof(choice);
    choice.hwndOwner = owner;
    choice.hInstance = reinterpret_cast<HWND>(ProgramInstance());
    choice.rgbResult = static_cast<COLORREF>(initial);
    choice.lpCustColors = customColours;
    choice.Flags = CC_RGBINIT | CC_ANYCOLOR;
    static const auto chooseColour = CommonDialogFunction<BOOL(WINAPI*)(CHOOSECOLORW*)>("ChooseColorW");
    if (chooseColour == nullptr || chooseColour(&choice) == 0) {
        return kNoWallpaperColour;
    }
    return static_cast<int>(choice.rgbResult);
}

void OnDesktopColourCommand(HWND dialog) {
    // Changing colours takes two steps: off, then a new choice.
    const int colour =
        settings.m_wallpaper_color == kNoWallpaperColour ? PickColour(dialog, kNoWallpaperColour) : kNoWallpaperColour;
    SaveSetting(&Settings::m_wallpaper_color, colour);
    // A new colour waits for the next hiding of the icons; no colour means no coloured desktop
    // now, even while the icons stay hidden.
    if (colour == kNoWallpaperColour) {
        RemoveColourWindow();
    }
}
