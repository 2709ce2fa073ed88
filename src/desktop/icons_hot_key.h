// The hot key that hides or shows the desktop icons at once. It belongs to the program's main
// window, which passes WM_HOTKEY on to OnIconsHotKey; the key is kept as the system's hot-key
// control reports it (low byte the virtual key, high byte the HOTKEYF_ modifiers), 0 for none.
#pragma once
#include <windows.h>

inline constexpr int kIconsHotKeyId = 1;

// RegisterHotKey's modifiers for a hot-key control's value, with MOD_NOREPEAT so that a held
// key toggles once.
UINT HotKeyModifiers(int hotkey);

// Whether `hotkey` is a value the program's hot-key dialog could have saved: a key its control
// takes, with Ctrl or Alt (Shift may join them) and no other bit but the control's mark of an
// extended key. An INI file edited by hand may hold anything; whatever else it holds is no key.
bool IsControlHotKey(int hotkey);

// The window that owns the hot key; set once it exists.
void SetHotKeyWindow(HWND window);

// Makes `hotkey` the one registered (none while `enabled` is false, so a disabled program
// holds no key from other programs). False when another program already holds the key: the
// previous key then stays.
bool ApplyIconsHotKey(int hotkey, bool enabled);

// The key the program holds now, 0 for none.
int RegisteredIconsHotKey();

// The hot key was pressed: visible icons hide (the taskbars too with hide_taskbar), hidden
// ones show and the idle time starts again, as a click on the desktop would.
void OnIconsHotKey();
