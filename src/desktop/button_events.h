// Every press and release of the mouse buttons, however short, and where the cursor was at
// each: a touchpad's tap lasts a few milliseconds, far less than the gap between two ticks of
// the engine, so asking whether a button is down now misses most of them. The system reports
// each button event to a window of the program (raw input, also while other programs have the
// foreground); the engine takes what came since its last tick.
#pragma once
#include <windows.h>

struct ButtonEvent {
    int button;    // VK_LBUTTON, VK_RBUTTON or VK_MBUTTON
    bool pressed;  // false: released
    int time;      // on the program clock
    POINT at;      // the cursor at the event, in screen coordinates
};

// Asks for the mouse's raw input at `window`, which passes its WM_INPUT to NoteButtonEvents.
// False when the system refuses: the engine then sees only what is down at its ticks.
bool WatchButtonEvents(HWND window);

// WM_INPUT: keeps the button events of the input, with the time and cursor position the
// message was posted with (GetMessageTime on the program clock, GetMessagePos).
void NoteButtonEvents(HRAWINPUT input, int time, DWORD messagePos);

// The events kept since the last call, oldest first, at most `capacity` of them (the newest).
int TakeButtonEvents(ButtonEvent* events, int capacity);
