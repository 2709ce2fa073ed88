// Owner-drawn menus: the fonts and colours of the program's menus, and the icons drawn
// beside their commands.
#pragma once
#include <windows.h>

// Makes the menu fonts and picks the colours for the current (light or dark) look.
void InitMenuAppearance();

// Draws `icon` (shared, never destroyed) beside every menu item with `command`.
void RegisterCommandImage(UINT command, HICON icon);

// Icon `id` of shell32 (shared, not to be destroyed); null when shell32 is not loaded.
HICON LoadShellIcon(int id);
