#include "dialog/hide_time.h"

namespace {

constexpr int kSecondSteps = 60;      // positions 1..60: one second each
constexpr int kHalfMinuteSteps = 78;  // positions 61..78: 30 seconds each, up to 600 s
constexpr int kTenMinutes = 600;

// The scale is defined in real numbers and cut toward zero, so a value between two steps
// lands on the lower one.
int Truncate(double value) {
    return static_cast<int>(value);
}

}  // namespace

int PositionToSeconds(int position) {
    double p = position;
    if (position <= kSecondSteps) {
        return position;
    }
    if (position <= kHalfMinuteSteps) {
        return Truncate((p - kSecondSteps) * 30.0 + kSecondSteps);
    }
    return Truncate((p - kHalfMinuteSteps) * 60.0 + kTenMinutes);
}

int SecondsToPosition(int seconds) {
    double s = seconds;
    if (seconds <= kSecondSteps) {
        return seconds;
    }
    if (seconds <= kTenMinutes) {
        return Truncate((s - kSecondSteps) / 30.0 + kSecondSteps);
    }
    return Truncate((s - kTenMinutes) / 60.0 + kHalfMinuteSteps);
}

Text FormatHideTime(int seconds) {
    return Text::Format(L"%02d:%02d:%02d", seconds / 3600, (seconds / 60) % 60, seconds % 60);
}
