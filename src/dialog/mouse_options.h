// The rules between the mouse options: at least one of the left, middle and right buttons
// shows the icons, the middle button does not both show and hide them, and the desktop
// context menu option brings the right button with it.
#pragma once
#include <windows.h>

struct Settings;

// What changed, given to BalanceMouseOptions. The numbers are part of the dialog's contract.
enum MouseOptionCause {
    kLeftButtonChanged = 1,
    kMiddleButtonChanged = 2,  // showing or hiding by the middle button
    kRightButtonChanged = 3,
    kContextMenuChanged = 4,
    kWinDChanged = 5,
};

// The rules on the record alone. True when a show option had to change.
bool BalanceMouseSettings(Settings& record, int cause);

// The rules on a copy of `settings`, then their effect: on a change the three check boxes are
// set and the three options saved, and the boxes are greyed as UpdateMouseOptionBoxes says.
// True when something changed.
bool BalanceMouseOptions(HWND dialog, int cause);

// A mouse option's box is available while the program is enabled and the option's own rule
// allows it: the right button is held on while the context menu option is on, and showing by
// the middle button is held off while the middle button hides the icons.
void UpdateMouseOptionBoxes(HWND dialog);
