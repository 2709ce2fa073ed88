// The solid background of the menus the menu bar opens.
#pragma once
#include <windows.h>

// Gives `menu` and all its submenus a solid background in the current look's menu colour.
void SetMenuBackground(HMENU menu);
