// Finding the shell's desktop windows and showing or hiding the desktop icons. These calls keep
// no shell window handle: a restarted shell, or a desktop view moved under a "WorkerW" window,
// is found on the next lookup (the tick keeps what it found for up to a second on its own).
#pragma once
#include <windows.h>

#include "desktop/shell_windows.h"

// The desktop view under "Program Manager", else under the first "WorkerW" (in z-order)
// that has one. Either handle may be null.
DesktopWindows FindDesktopListView();

// Looks the list view up and shows or hides it when its visibility differs from `show`;
// then updates the colour window.
void SetIconsVisible(bool show);

// Switch the shell's own "show desktop icons" setting off or on (toggle command 0x7402 to
// the desktop view, sent only when the setting differs, or will once the shell has handled
// the toggles on their way; the program does not wait for the shell).
void ShellHideIcons();
void ShellShowIcons();
// Whether the shell's own setting hides the desktop icons, whoever switched it.
bool ShellHidesIcons();
