// What a click on the notification-area icon does: the left button shows or hides the
// settings dialog, the right button opens the tray menu.
#pragma once
#include <windows.h>

// `mouseMessage` is WM_LBUTTONDOWN or WM_RBUTTONDOWN; `dialog` is the settings dialog, which
// carries out every option the menu changes.
void TrayIconClicked(UINT mouseMessage, HWND dialog);
