#include "settings/settings.h"

#include <climits>
#include <cwctype>

int ParseIntSetting(const wchar_t* text) {
    if (text == nullptr) {
        return 0;
    }
    while (std::iswspace(*text)) {
        ++text;
    }
    bool negative = false;
    if (*text == L'+' || *text == L'-') {
        negative = (*text == L'-');
        ++text;
    }
    // Accumulate as a negative number so INT_MIN is reachable, saturating on overflow.
    long long value = 0;
    for (; *text >= L'0' && *text <= L'9'; ++text) {
        value = value * 10 - (*text - L'0');
        if (value < INT_MIN) {
            return negative ? INT_MIN : INT_MAX;
        }
    }
    if (negative) {
        return static_cast<int>(value);
    }
    return value < -static_cast<long long>(INT_MAX) ? INT_MAX : static_cast<int>(-value);
}
