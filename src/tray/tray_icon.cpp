#include "tray/tray_icon.h"

// Not built yet: the program runs without a notification-area icon.

void CreateTrayIcon(HWND, HWND, bool) {}

void RefreshTrayIcon(bool) {}

void RemoveTrayIcon() {}
