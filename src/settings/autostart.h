// Start with Windows: a value under the current user's Run key that starts the program hidden
// at logon. Its presence is the option; nothing about it is kept in the INI file.
#pragma once

// Whether the Run value `valueName` exists.
bool IsAutostartRegistered(const wchar_t* valueName);

// Writes (enable) or deletes the Run value.
void SetAutostart(bool enable);
