#include "dialog/keyboard_layout.h"

#include <commctrl.h>

namespace {

constexpr BYTE kKeyDown = 0x80;
// ToUnicodeEx leaves the keyboard's dead-key state alone (Windows 10 1607 and later).
constexpr UINT kKeepKeyboardState = 0x4;
constexpr int kMaxTyped = 8;

class SystemKeyboardLayout : public KeyboardLayout {
  public:
    std::wstring Typed(UINT key, int flags) const override {
        const HKL layout = GetKeyboardLayout(0);
        BYTE state[256] = {};
        if ((flags & HOTKEYF_SHIFT) != 0) {
            state[VK_SHIFT] = state[VK_LSHIFT] = kKeyDown;
        }
        if ((flags & HOTKEYF_CONTROL) != 0) {
            state[VK_CONTROL] = state[VK_LCONTROL] = kKeyDown;
        }
        if ((flags & HOTKEYF_ALT) != 0) {
            state[VK_MENU] = state[VK_LMENU] = kKeyDown;
        }
        const UINT scanCode = MapVirtualKeyExW(key, MAPVK_VK_TO_VSC, layout);
        wchar_t typed[kMaxTyped] = L"";
        const int count = ToUnicodeEx(key, scanCode, state, typed, kMaxTyped, kKeepKeyboardState, layout);
        if (count < 0) {
            // A dead key. Before Windows 10 1607 the flag is unknown and the dead key would wait
            // for the user's next keystroke: the same key again takes it back out.
            wchar_t again[kMaxTyped] = L"";
            ToUnicodeEx(key, scanCode, state, again, kMaxTyped, kKeepKeyboardState, layout);
            return std::wstring(1, typed[0]);
        }
        return std::wstring(typed, static_cast<size_t>(count));
    }
};

}  // namespace

const KeyboardLayout& UserKeyboardLayout() {
    static const SystemKeyboardLayout layout;
    return layout;
}

bool HotKeyTypesCharacter(int hotkey, const KeyboardLayout& layout) {
    if (hotkey == 0) {
        return false;
    }
    for (wchar_t c : layout.Typed(LOBYTE(hotkey), HIBYTE(hotkey))) {
        if (c >= L' ' && c != 0x7F) {
            return true;
        }
    }
    return false;
}
