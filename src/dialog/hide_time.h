// The idle-time scale of the settings dialog's slider: single seconds up to one minute, half
// minutes up to ten minutes, then whole minutes up to three hours; and the time as text.
#pragma once

#include "common/text.h"

inline constexpr int kHideTimeFirstPosition = 1;
inline constexpr int kHideTimeLastPosition = 248;  // 10800 s, three hours

// Seconds for a slider position 1..248.
int PositionToSeconds(int position);

// The slider position for a number of seconds; a value between two steps gives the lower
// step. Values beyond three hours give positions past the slider's end.
int SecondsToPosition(int seconds);

// "hh:mm:ss".
Text FormatHideTime(int seconds);
