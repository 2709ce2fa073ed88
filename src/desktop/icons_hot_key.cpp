#include "desktop/icons_hot_key.h"

#include <commctrl.h>

#include <utility>

#include "desktop/auto_hide_engine.h"
#include "desktop/desktop_windows.h"
#include "desktop/shell_window_visibility.h"
#include "desktop/taskbar.h"
#include "settings/settings.h"

namespace {

HWND hotKeyWindow = nullptr;
int registeredHotKey = 0;  // the key held now, 0 for none

bool Register(int hotkey) {
    const UINT key = LOBYTE(hotkey);
    if (RegisterHotKey(hotKeyWindow, kIconsHotKeyId, HotKeyModifiers(hotkey), key)) {
        return true;
    }
    // Before Windows 7 the system refuses MOD_NOREPEAT itself; a key someone holds stays refused.
    return GetLastError() != ERROR_HOTKEY_ALREADY_REGISTERED &&
           RegisterHotKey(hotKeyWindow, kIconsHotKeyId, HotKeyModifiers(hotkey) & ~MOD_NOREPEAT, key) != 0;
}

}  // namespace

UINT HotKeyModifiers(int hotkey) {
    const int flags = HIBYTE(hotkey);
    UINT modifiers = MOD_NOREPEAT;
    if ((flags & HOTKEYF_SHIFT) != 0) {
        modifiers |= MOD_SHIFT;
    }
    if ((flags & HOTKEYF_CONTROL) != 0) {
        modifiers |= MOD_CONTROL;
    }
    if ((flags & HOTKEYF_ALT) != 0) {
        modifiers |= MOD_ALT;
    }
    return modifiers;
}

void SetHotKeyWindow(HWND window) {
    hotKeyWindow = window;
}

bool ApplyIconsHotKey(int hotkey, bool enabled) {
    const int wanted = enabled ? hotkey : 0;
    if (wanted == registeredHotKey) {
        return true;
    }
    if (hotKeyWindow == nullptr) {
        return false;
    }
    if (registeredHotKey != 0) {
        UnregisterHotKey(hotKeyWindow, kIconsHotKeyId);
    }
    const int previous = std::exchange(registeredHotKey, 0);
    if (wanted == 0) {
        return true;
    }
    if (Register(wanted)) {
        registeredHotKey = wanted;
        return true;
    }
    if (previous != 0 && Register(previous)) {
        registeredHotKey = previous;
    }
    return false;
}

void OnIconsHotKey() {
    if (settings.m_disable != 0 || HidingStopped()) {
        return;
    }
    const DesktopWindows shell = FindDesktopListView();
    if (shell.listView == nullptr) {
        return;
    }
    if (IsWindowVisible(shell.listView)) {
        HideEverything();
        return;
    }
    RestartIdleTime();
    ShowEverything();
}
