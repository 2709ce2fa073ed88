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

// Whether a hot-key control can report `key` as the key: not the modifiers themselves, the keys
// it passes on to the dialog or takes as "no key", mouse buttons, nor codes no key sends.
bool ControlTakesKey(UINT key) {
    switch (key) {
        case 0:
        case VK_LBUTTON:
        case VK_RBUTTON:
        case VK_MBUTTON:
        case VK_XBUTTON1:
        case VK_XBUTTON2:
        case VK_BACK:
        case VK_TAB:
        case VK_RETURN:
        case VK_SHIFT:
        case VK_CONTROL:
        case VK_MENU:
        case VK_ESCAPE:
        case VK_SPACE:
        case VK_DELETE:
        case VK_LWIN:
        case VK_RWIN:
        case VK_LSHIFT:
        case VK_RSHIFT:
        case VK_LCONTROL:
        case VK_RCONTROL:
        case VK_LMENU:
        case VK_RMENU:
        case VK_PROCESSKEY:
        case VK_PACKET:
        case 0xFF:
            return false;
        default:
            return true;
    }
}

}  // namespace

bool IsControlHotKey(int hotkey) {
    if (hotkey <= 0 || hotkey > 0xFFFF) {
        return false;
    }
    const int flags = HIBYTE(hotkey);
    const bool onlyKnownFlags = (flags & ~(HOTKEYF_SHIFT | HOTKEYF_CONTROL | HOTKEYF_ALT | HOTKEYF_EXT)) == 0;
    // The dialog's control turns a key alone, or with Shift alone, into Ctrl+Alt.
    const bool ctrlOrAlt = (flags & (HOTKEYF_CONTROL | HOTKEYF_ALT)) != 0;
    return onlyKnownFlags && ctrlOrAlt && ControlTakesKey(LOBYTE(hotkey));
}

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

int RegisteredIconsHotKey() {
    return registeredHotKey;
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
