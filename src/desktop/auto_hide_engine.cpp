#include "desktop/auto_hide_engine.h"

#include "desktop/auto_hide_tick.h"
#include "desktop/shell_window_visibility.h"
#include "desktop/system_desktop.h"

namespace {

// Taken while the process starts up; the program clock counts from here.
const DWORD processStartTick = GetTickCount();

}  // namespace

EngineState engineState;

// GetTickCount wraps after 49.7 days; the difference taken modulo 2^32 and read as signed
// 32-bit is the clock every comparison of the engine works with.
int NowMs() {
    return static_cast<int>(GetTickCount() - processStartTick);
}

void RestartIdleTime() {
    engineState.idleSince = NowMs();
}

void RunAutoHideTick(HWND countdownBar) {
    if (HidingStopped()) {
        return;  // the program is ending and has shown everything
    }
    SystemDesktop desktop;
    desktop.countdownBar = countdownBar;
    AutoHideTickOn(desktop, engineState);
}
