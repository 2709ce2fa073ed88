#include "desktop/auto_hide_engine.h"

#include "desktop/auto_hide_tick.h"
#include "desktop/colour_window.h"
#include "desktop/shell_window_visibility.h"
#include "desktop/system_desktop.h"

EngineState engineState;

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
    // The shell resizes its desktop after a display change in its own time, maybe after the
    // change was announced.
    FitColourWindowToShellDesktop();
}
