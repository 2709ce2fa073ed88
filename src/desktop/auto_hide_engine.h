// The auto-hide engine: one tick every 30 ms hides the icons after the idle time and shows
// them when the user asks for them. Whoever owns the timer runs the ticks.
#pragma once
#include <windows.h>

#include "desktop/engine_state.h"

// The program's engine.
extern EngineState engineState;

// Activity now: the countdown starts again from the full idle time.
void RestartIdleTime();

// One tick of the engine on the real desktop; the remaining whole seconds go to
// `countdownBar` (a progress bar; null for none).
void RunAutoHideTick(HWND countdownBar);
