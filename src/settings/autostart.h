// Start with Windows: a value under the current user's Run key that starts the program hidden
// at logon. Its presence is the option; nothing about it is kept in the INI file.
#pragma once
#include <windows.h>

#include "common/text.h"

// The longest Run value the program reads back, in characters without the terminator; longer
// data counts as no value at all.
inline constexpr int kLongestRunValue = 511;

// The Run value's data for the exe at `exePath`: the path in double quotes, then " -bg".
// Empty when that would be longer than kLongestRunValue: such a value could never be read back.
Text RunValueData(const wchar_t* exePath);

enum class RunValueState {
    kMissing,  // no value, or one too long to read
    kCurrent,  // names the running exe exactly
    kStale,    // names anything else, even the same path in other letter case
};

// What a stored Run value means for the exe whose data is `expected`. `data` is what the
// registry returned, `dataBytes` long and not necessarily terminated; null when the query
// failed. Nothing beyond `dataBytes` is read.
RunValueState JudgeRunValue(const wchar_t* data, DWORD dataBytes, const wchar_t* expected);

// Whether the program's Run value (named by string resource 109) exists; one that names another
// exe (the program was moved) is rewritten to name the running one.
bool IsAutostartRegistered();

// Writes (enable) or deletes the Run value named by string resource 109. False when the value
// is not as asked afterwards: it could not be written (nor can it be for an exe whose path does
// not fit), or it is still there.
bool SetAutostart(bool enable);

// Set or delete a value of the Run key; true on success. A value that was not there counts as
// deleted.
bool WriteRunValue(const wchar_t* valueName, const wchar_t* data);
bool DeleteRunValue(const wchar_t* valueName);
