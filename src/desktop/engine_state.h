// The auto-hide engine's clock and memory: what a tick reads and keeps, apart from the engine
// that runs the ticks, so the tick and the desktop it runs on need nothing above them.
#pragma once
#include <windows.h>

#include "desktop/button_events.h"
#include "desktop/shell_windows.h"

inline constexpr UINT kTickPeriodMs = 30;

// The program clock: milliseconds since the process started, signed 32-bit.
int NowMs();
// A GetTickCount value (a message's time) on the program clock.
int ProgramTime(DWORD tickCount);

// What the engine remembers from one tick to the next.
struct EngineState {
    int idleSince = 0;             // time of the last activity on the program clock
    int taskbarSince = 0;          // last time the cursor was over a taskbar
    bool taskbarSinceSet = false;  // the first tick of the process sets taskbarSince
    POINT lastCursor = {0, 0};     // where the last tick that found the cursor moved saw it
    DesktopWindows shell;          // the shell's windows as a tick last looked them up
    int shellFoundAt = 0;          // when, on the program clock
    // A left press on the visible icons that a second one may make a double-click of.
    bool firstClickKept = false;
    ButtonEvent firstClick = {};
    // A double-click hid the icons with its button still down: held, it shows nothing. Set
    // until its release has come and the button reads up, or the next press.
    bool leftHeldAfterDoubleClick = false;
    bool leftReleasedAfterDoubleClick = false;
};
