// What a key types in the user's keyboard layout. On many layouts Ctrl+Alt is AltGr (German
// Ctrl+Alt+Q types "@", Polish Ctrl+Alt+A "ą"), and a key registered as a hot key can no longer
// be typed in any program: the hot-key dialog asks the layout before it takes a key.
#pragma once
#include <windows.h>

#include <string>

class KeyboardLayout {
  public:
    virtual ~KeyboardLayout() = default;
    // What `key` types with the hot-key control's modifiers `flags` (HOTKEYF_), as the layout's
    // own translation gives it: empty for nothing; a dead key gives its character.
    virtual std::wstring Typed(UINT key, int flags) const = 0;
};

// The layout of the calling thread, the one the user types with in the program's windows.
const KeyboardLayout& UserKeyboardLayout();

// Whether the hot-key control's value types a character in `layout` (control characters,
// such as Ctrl+Q's, do not count).
bool HotKeyTypesCharacter(int hotkey, const KeyboardLayout& layout);
