// The settings dialog flying into the notification area before it hides.
#pragma once
#include <windows.h>

// Animates `window` towards the tray (when the system animates minimising) and hides it.
void MinimiseToTray(HWND window);
