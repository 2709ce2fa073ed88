// The menu bar's decisions that need no window: which top-level menu comes next, what a key
// does while one of its popups is open, and which letter opens a button.
#pragma once
#include <windows.h>

// The index of a top-level menu after a step past either end: the bar wraps around.
int WrapMenuIndex(int index, int menuCount);

enum class MenuKeyAction {
    kLeaveToMenu,   // the popup handles the key itself
    kPreviousMenu,  // close this popup and open the one to the left
    kNextMenu,      // ... to the right
    kClose,
};

// What a key pressed in an open popup does. `foreignPopup`: a popup the bar only hosts, which
// has no neighbours. `selectedItemFlags`: the MF_ flags of the highlighted item; Right opens
// its submenu when it has one.
MenuKeyAction MenuKeyActionFor(WPARAM key, bool foreignPopup, UINT selectedItemFlags);

// The letter that opens a button with Alt: the one after "&" where the text marks one, else
// its first letter or digit ("# Exit" opens with E). 0 when there is none.
wchar_t ButtonAccelerator(const wchar_t* text);

// Whether `typed` (as WM_MENUCHAR reports it) is `accelerator`, whatever the case.
bool SameAccelerator(wchar_t typed, wchar_t accelerator);
