// The auto-hide engine: one tick every 30 ms hides the icons after the idle time and shows
// them when the user asks for them. Whoever owns the timer runs the ticks.
#pragma once
#include <windows.h>

inline constexpr UINT kTickPeriodMs = 30;

// The program clock: milliseconds since the process started, signed 32-bit.
int NowMs();

// What the engine remembers from one tick to the next.
struct EngineState {
    int idleSince = 0;             // time of the last activity on the program clock
    int taskbarSince = 0;          // last time the cursor was over a taskbar
    bool taskbarSinceSet = false;  // the first tick of the process sets taskbarSince
    POINT lastCursor = {0, 0};     // where the last tick that found the cursor moved saw it
};

// The program's engine.
extern EngineState engineState;

// Activity now: the countdown starts again from the full idle time.
void RestartIdleTime();

// One tick of the engine on the real desktop; the remaining whole seconds go to
// `countdownBar` (a progress bar; null for none).
void RunAutoHideTick(HWND countdownBar);
