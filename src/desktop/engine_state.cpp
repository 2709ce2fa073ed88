#include "desktop/engine_state.h"

namespace {

// Taken while the process starts up; the program clock counts from here.
const DWORD processStartTick = GetTickCount();

}  // namespace

// GetTickCount wraps after 49.7 days; the difference taken modulo 2^32 and read as signed
// 32-bit is the clock every comparison of the engine works with.
int NowMs() {
    return ProgramTime(GetTickCount());
}

int ProgramTime(DWORD tickCount) {
    return static_cast<int>(tickCount - processStartTick);
}
