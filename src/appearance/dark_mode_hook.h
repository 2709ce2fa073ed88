// The creation hook of the GUI thread: every window the thread creates is given its dark look
// by its class before it receives its first message.
#pragma once
#include <windows.h>

enum class DarkTreatment {
    kNone,
    kDialog,
    kButton,
    kHeader,
    kListView,
    kExplorerTheme,  // combo boxes and edit fields
    kDateTimePicker,
    kTreeView,
    kRebar,
    kStatusBar,
};

// Matched after lower-casing, as class names are registered in any case.
DarkTreatment TreatmentForClass(const wchar_t* className);

// The theme's sub-id list for a button of this style: group boxes and the check and radio
// boxes the dialog uses have their own look, other buttons none.
const wchar_t* ButtonThemeList(LONG style);

// Gives an existing window the look the hook gives new ones of its class.
void DarkenWindow(HWND window);

// The hook that gives each new window of the GUI thread its dark look; null when the program
// does not draw dark.
HHOOK InstallDarkModeHook(HINSTANCE instance);
