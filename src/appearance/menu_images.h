// Owner-drawn menus: the fonts and colours of the program's menus, and the icons drawn
// beside their commands.
#pragma once
#include <windows.h>

// Makes the menu fonts and picks the colours for the current (light or dark) look.
void InitMenuAppearance();

// Draws shell32's icon `shellIcon` beside every menu item with `command`. The icon is loaded
// when a menu first needs it: nothing at start-up draws a menu.
void RegisterCommandImage(UINT command, int shellIcon);

// Icon `id` of shell32 (shared, not to be destroyed); null when shell32 is not loaded.
HICON LoadShellIcon(int id);
