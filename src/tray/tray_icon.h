// The notification-area icon: the program's way back to its dialog. It shows the dialog's
// small icon, grey while the program is disabled, and a thread of its own puts it back when
// the shell lost it (a restarted Explorer forgets every icon).
#pragma once
#include <windows.h>

inline constexpr UINT kTrayCallbackMessage = WM_APP + 100;  // 32868: the icon's mouse messages
inline constexpr UINT kTrayIconId = 107;

// Adds the icon for `owner`, which receives its mouse messages as kTrayCallbackMessage. The
// picture is `iconSource`'s small icon, grey with `disabledLook`. Starts the icon thread.
void CreateTrayIcon(HWND owner, HWND iconSource, bool disabledLook);

// Draws the icon again, grey with `disabledLook`; adds it when the shell has none.
void RefreshTrayIcon(bool disabledLook);

// Removes the icon and stops the icon thread. Does nothing when there is no icon.
void RemoveTrayIcon();
