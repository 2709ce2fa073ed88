// The hot key: how the control's value reads and registers, and that a key held elsewhere
// never replaces the one the program has.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "desktop/icons_hot_key.h"
#include "dialog/hot_key_dialog.h"

namespace {

constexpr int kCtrlAltH = MAKEWORD('H', HOTKEYF_CONTROL | HOTKEYF_ALT);  // 0x0648, 1608 in the INI file
constexpr int kCtrlAltJ = MAKEWORD('J', HOTKEYF_CONTROL | HOTKEYF_ALT);
constexpr int kOtherProgramsId = 7;

HWND MakeWindow() {
    return CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
}

// Whether anybody holds the key: a second window tries to take it and lets it go again.
bool KeyHeld(int hotkey) {
    HWND probe = MakeWindow();
    const bool free = RegisterHotKey(probe, kOtherProgramsId, HotKeyModifiers(hotkey), LOBYTE(hotkey)) != 0;
    UnregisterHotKey(probe, kOtherProgramsId);
    DestroyWindow(probe);
    return !free;
}

}  // namespace

TEST(HotKey, ReadsAsTheKeysAUserPressesInTheUsualOrder) {
    EXPECT_EQ(HotKeyText(kCtrlAltH, L"H"), L"Ctrl+Alt+H");
    EXPECT_EQ(HotKeyText(MAKEWORD(VK_F5, HOTKEYF_ALT | HOTKEYF_SHIFT | HOTKEYF_CONTROL), L"F5"), L"Ctrl+Shift+Alt+F5");
    EXPECT_EQ(HotKeyText(0, L"H"), L"");
    EXPECT_EQ(HotKeyText(kCtrlAltH), L"Ctrl+Alt+H");  // the system's own name of the key
    EXPECT_EQ(HotKeyModifiers(kCtrlAltH) & ~MOD_NOREPEAT, static_cast<UINT>(MOD_CONTROL | MOD_ALT));
    EXPECT_EQ(HotKeyModifiers(MAKEWORD('H', HOTKEYF_SHIFT)) & ~MOD_NOREPEAT, static_cast<UINT>(MOD_SHIFT));
}

TEST(HotKey, AKeyAnotherProgramHoldsIsRefusedAndTheOldOneStays) {
    HWND owner = MakeWindow();
    HWND otherProgram = MakeWindow();
    SetHotKeyWindow(owner);
    ASSERT_TRUE(ApplyIconsHotKey(kCtrlAltH, true));
    EXPECT_TRUE(KeyHeld(kCtrlAltH));

    ASSERT_TRUE(RegisterHotKey(otherProgram, kOtherProgramsId, HotKeyModifiers(kCtrlAltJ), 'J'));
    EXPECT_FALSE(ApplyIconsHotKey(kCtrlAltJ, true));
    EXPECT_TRUE(KeyHeld(kCtrlAltH)) << "the previous key must still work";
    UnregisterHotKey(otherProgram, kOtherProgramsId);

    ASSERT_TRUE(ApplyIconsHotKey(kCtrlAltJ, true));
    EXPECT_FALSE(KeyHeld(kCtrlAltH)) << "a replaced key goes back to everyone";
    EXPECT_TRUE(KeyHeld(kCtrlAltJ));
    EXPECT_TRUE(ApplyIconsHotKey(kCtrlAltJ, false));  // disabled: the program holds no key
    EXPECT_FALSE(KeyHeld(kCtrlAltJ));

    SetHotKeyWindow(nullptr);
    DestroyWindow(otherProgram);
    DestroyWindow(owner);
}
