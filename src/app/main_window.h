// The hidden main window: found by other instances through instanceMessage, owner of the tray
// icon, and builder of the user interface once the message loop runs.
#pragma once
#include <windows.h>

inline constexpr UINT kCreateInterfaceCommand = 104;
inline constexpr UINT_PTR kMainTimerId = 1000;

bool RegisterMainWindowClass();

// Creates the window hidden and starts its 1000 ms timer; sets mainWindow. Null when the
// window cannot be made.
HWND CreateMainWindow();
