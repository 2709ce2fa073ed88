#include "tray/tray_menu.h"

// Not built yet: clicks on the icon do nothing.

void TrayIconClicked(UINT, HWND) {}
