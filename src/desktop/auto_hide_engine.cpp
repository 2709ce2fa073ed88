#include "desktop/auto_hide_engine.h"

#include "app/process_objects.h"
#include "desktop/auto_hide_tick.h"
#include "desktop/system_desktop.h"

namespace {

// Taken while the process starts up; the program clock counts from here.
const DWORD processStartTick = GetTickCount();

}  // namespace

int idleSince = 0;
int taskbarSince = 0;
bool taskbarSinceSet = false;
POINT lastCursor = {0, 0};

// GetTickCount wraps after 49.7 days; the difference taken modulo 2^32 and read as signed
// 32-bit is the clock every comparison of the engine works with.
int NowMs() {
    return static_cast<int>(GetTickCount() - processStartTick);
}

void AutoHideTick() {
    SystemDesktop desktop;
    AutoHideTickOn(desktop);
}

// The timer is stopped while the tick runs, so a slow cross-process call cannot make timer
// messages pile up, and the next tick comes a full period after this one ends.
void RunAutoHideTick() {
    KillTimer(settingsDialog, kTickTimerId);
    AutoHideTick();
    SetTimer(settingsDialog, kTickTimerId, kTickPeriodMs, nullptr);
}
