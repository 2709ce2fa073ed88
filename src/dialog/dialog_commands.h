// What the settings dialog does after its initialisation: the commands of its check boxes,
// buttons and menus (each option is saved the moment it changes and takes effect at once),
// its timer, which drives the auto-hide engine, and hiding instead of closing.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "dialog/dialog_parts.h"

// The dialog's two timers; both drive the engine.
inline constexpr UINT_PTR kDialogTimerId = 4000;
inline constexpr UINT kDialogTimerPeriodMs = 200;
// The engine's timer: stopped while a tick runs and started again after it.
inline constexpr UINT_PTR kTickTimerId = 2001;

// Ticks every option's check box as its setting stands.
void ShowOptionBoxes(HWND dialog);

void OnDialogCommand(const DialogParts& dialog, UINT command);

// Any timer of the dialog: keeps the shell's icons off while they are hidden permanently,
// and runs one tick of the engine while the program is enabled.
void OnDialogTimer(HWND dialog);

// Minimising hides the dialog in the tray (with tray_if_minimize); the dialog never goes to
// the taskbar. Returns TRUE when the system command was taken.
INT_PTR OnDialogSysCommand(HWND dialog, UINT command);

// Close box and "To-Tray": the dialog goes, the program stays.
void HideDialogToTray(HWND dialog);

// A notification to the dialog: the FAQ button's tool tip asks for its text. Acts only on a
// notice from one of the dialog's own windows (TrustedNotification).
void OnDialogNotify(HWND dialog, WPARAM controlId, LPARAM lParam);

// Follows the "Disable" check box: greys the options that need the engine, and shows the
// icons (disabled) or restarts the countdown (enabled). "Hide desktop icons permanently"
// locks the box and keeps the shell's own icon setting off.
void ApplyDisableState(HWND dialog);

// Keeps the dialog above other windows (1) or not (0).
void ApplyTopmost(HWND dialog, int topmost);
