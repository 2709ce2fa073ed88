// The auto-hide engine: one tick every 30 ms hides the icons after the idle time and shows
// them when the user asks for them.
#pragma once
#include <windows.h>

inline constexpr UINT_PTR kTickTimerId = 2001;
inline constexpr UINT kTickPeriodMs = 30;
inline constexpr int kCountdownBarId = 1036;  // the settings dialog's progress bar

// The program clock: milliseconds since the process started, signed 32-bit.
int NowMs();

// Time of the last activity on the program clock; the settings dialog resets it.
extern int idleSince;

// Last time the cursor was over a taskbar; the first tick of the process sets it.
extern int taskbarSince;
extern bool taskbarSinceSet;

// Where the last tick that found the cursor moved saw it.
extern POINT lastCursor;

// Stops timer 2001 on the settings dialog, runs one tick, starts the timer again.
void RunAutoHideTick();

// One tick of the engine.
void AutoHideTick();
