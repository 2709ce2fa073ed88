// The hot key of the "More options" menu: its text, and the small dialog with the system's
// hot-key control that changes it. A key is saved only once it is registered: a key that
// another program holds is reported in the dialog, and the old one stays. Opening the dialog
// and OK try the saved key again.
#pragma once
#include <windows.h>

#include "common/text.h"

class KeyboardLayout;

// "Ctrl+Alt+H" for a hot-key control's value (modifiers in the order Ctrl, Shift, Alt), with
// `keyName` for the key itself; empty for 0.
Text HotKeyText(int hotkey, const wchar_t* keyName);

// The same with the system's name of the key.
Text HotKeyText(int hotkey);

// The menu item: "Hotkey…" without a key, "Hotkey: Ctrl+Alt+H" with one, and "(not active)"
// after it while the program could not register it.
Text HotKeyMenuText();

// What OK made of the key in the field.
enum class HotKeyChoice {
    kSaved,           // registered (held only while the program is enabled) and saved
    kTypesCharacter,  // it types a character in the layout: refused, the old key stays
    kTaken,           // another program holds it: refused, the old key stays
};

// OK with `chosen` in the field. The saved key too is tried again: the program that held it
// may have let it go.
HotKeyChoice ChooseHotKey(int chosen, const KeyboardLayout& layout);

// What the field should show once the user pressed a key. The field gives a key pressed on its
// own Ctrl+Alt; where that is AltGr and types a character, Ctrl+Alt+Shift is offered instead
// when that types none. A combination the user held the modifiers for stays as it is.
int CompleteLoneKey(int shown, bool ctrlOrAltHeld, const KeyboardLayout& layout);

// Shows the dialog over `owner` until OK saves a key that could be registered, or Cancel.
void ShowHotKeyDialog(HWND owner);
