// The idle-time slider, the time beside it and the countdown bar of the settings dialog.
#pragma once
#include <windows.h>

// Reads auto_hide_icons_sec and sets up the slider, the time text and a full countdown bar.
void SetUpHideTimeControls(HWND dialog);

// Any scroll request of the slider: shows the new time and, when the seconds changed, saves
// them and restarts the countdown.
void OnHideTimeScroll(HWND dialog);
