// The hot key of the "More options" menu: its text, and the small dialog with the system's
// hot-key control that changes it. A key is saved only once it is registered: a key that
// another program holds is reported in the dialog, and the old one stays. Opening the dialog
// and OK try the saved key again.
#pragma once
#include <windows.h>

#include "common/text.h"

// "Ctrl+Alt+H" for a hot-key control's value (modifiers in the order Ctrl, Shift, Alt), with
// `keyName` for the key itself; empty for 0.
Text HotKeyText(int hotkey, const wchar_t* keyName);

// The same with the system's name of the key.
Text HotKeyText(int hotkey);

// The menu item: "Hotkey…" without a key, "Hotkey: Ctrl+Alt+H" with one, and "(not active)"
// after it while the program could not register it.
Text HotKeyMenuText();

// Shows the dialog over `owner` until OK saves a key that could be registered, or Cancel.
void ShowHotKeyDialog(HWND owner);
