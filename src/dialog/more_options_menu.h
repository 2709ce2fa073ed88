// The "More options" popup menu under its button: the options that have no check box of
// their own on the dialog.
#pragma once
#include <windows.h>

// The menu as it would show now: its items, with texts and check marks from the settings.
HMENU BuildMoreOptionsMenu();

// Shows the menu at the button's lower left corner and carries out the chosen item the way a
// click on its check box would: the box (where there is one) is flipped, then the dialog gets
// the item's command.
void ShowMoreOptionsMenu(HWND dialog);
