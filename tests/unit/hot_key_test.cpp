// The hot key: how the control's value reads and registers, and that a key held elsewhere
// never replaces the one the program has.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>
#include <utility>

#include "common/scoped_handle.h"
#include "desktop/icons_hot_key.h"
#include "dialog/hot_key_dialog.h"
#include "dialog/keyboard_layout.h"
#include "dialog/more_options_menu.h"
#include "resource_ids.h"
#include "settings/settings.h"
#include "settings/writable_settings.h"
#include "support/english_pack.h"

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

// The INI file may have been edited by hand: only what the dialog's control could have produced
// is a key, anything else is no key at all, as 0 is.
TEST(HotKey, AnIniValueIsAKeyOnlyWhenTheDialogCouldHaveSavedIt) {
    const int kExtendedRight = MAKEWORD(VK_RIGHT, HOTKEYF_ALT | HOTKEYF_EXT);
    const int kKeys[] = {kCtrlAltH, MAKEWORD(VK_F5, HOTKEYF_CONTROL | HOTKEYF_SHIFT | HOTKEYF_ALT), kExtendedRight,
                         MAKEWORD('7', HOTKEYF_CONTROL)};
    for (int key : kKeys) {
        EXPECT_TRUE(IsControlHotKey(key)) << key;
    }
    const int kNoKeys[] = {0,
                           -1,
                           65535,
                           2147483647,
                           256,                                                // "Shift+" and no key
                           'H',                                                // a letter alone
                           MAKEWORD('H', HOTKEYF_SHIFT),                       // the control makes it Ctrl+Alt+H
                           MAKEWORD(VK_SPACE, HOTKEYF_CONTROL | HOTKEYF_ALT),  // the control passes it on
                           MAKEWORD(VK_LBUTTON, HOTKEYF_CONTROL),
                           MAKEWORD(VK_CONTROL, HOTKEYF_CONTROL),
                           MAKEWORD('H', HOTKEYF_CONTROL | 0x10),
                           0x10000 | kCtrlAltH};
    for (int value : kNoKeys) {
        EXPECT_FALSE(IsControlHotKey(value)) << value;
    }
}

class HotKeyMenu : public EnglishPackTest {
  protected:
    void TearDown() override {
        WritableSettings() = saved_;
        ApplyIconsHotKey(0, false);
        SetHotKeyWindow(nullptr);
        DestroyWindow(otherProgram_);
        DestroyWindow(owner_);
        EnglishPackTest::TearDown();
    }
    static std::wstring ItemText() {
        ScopedMenu menu(BuildMoreOptionsMenu());
        wchar_t text[256] = L"";
        GetMenuStringW(menu.Get(), IDM_HOTKEY, text, 256, MF_BYCOMMAND);
        return text;
    }

    Settings saved_ = settings;
    HWND owner_ = MakeWindow();
    HWND otherProgram_ = MakeWindow();
};

// A key another program held at start is not the program's: the menu says so until a later try
// takes it.
TEST_F(HotKeyMenu, SaysTheKeyIsNotActiveWhileAnotherProgramHoldsIt) {
    WritableSettings().hotkey = kCtrlAltH;
    WritableSettings().m_disable = 0;
    SetHotKeyWindow(owner_);
    ASSERT_TRUE(RegisterHotKey(otherProgram_, kOtherProgramsId, HotKeyModifiers(kCtrlAltH), 'H'));
    EXPECT_FALSE(ApplyIconsHotKey(kCtrlAltH, true));
    EXPECT_EQ(ItemText(), L"Hotkey: Ctrl+Alt+H (not active)");

    UnregisterHotKey(otherProgram_, kOtherProgramsId);
    EXPECT_TRUE(ApplyIconsHotKey(kCtrlAltH, true));
    EXPECT_EQ(ItemText(), L"Hotkey: Ctrl+Alt+H");

    // Disabled, the program holds no key by choice.
    ApplyIconsHotKey(kCtrlAltH, false);
    WritableSettings().m_disable = 1;
    EXPECT_EQ(ItemText(), L"Hotkey: Ctrl+Alt+H");
    WritableSettings().hotkey = 0;
    EXPECT_EQ(ItemText(), L"Hotkey\u2026");
}

namespace {

constexpr int kAltGr = HOTKEYF_CONTROL | HOTKEYF_ALT;

int Key(UINT key, int flags) {
    return MAKEWORD(key, flags);
}

// A layout that answers as a real one's translation does, for the keys a test names; Ctrl with
// a letter gives its control character, as every layout does.
class FakeLayout : public KeyboardLayout {
  public:
    explicit FakeLayout(std::map<std::pair<UINT, int>, std::wstring> typed) : typed_(std::move(typed)) {}
    std::wstring Typed(UINT key, int flags) const override {
        const auto found = typed_.find({key, flags});
        if (found != typed_.end()) {
            return found->second;
        }
        return flags == HOTKEYF_CONTROL && key >= 'A' && key <= 'Z' ? std::wstring(1, wchar_t(key - 'A' + 1)) : L"";
    }

  private:
    std::map<std::pair<UINT, int>, std::wstring> typed_;
};

// German: AltGr is Ctrl+Alt, and Q, E, 2, 3, 7 to 0, M and the OEM keys type with it.
const FakeLayout kGermanLayout({{{'Q', kAltGr}, L"@"},
                                {{'E', kAltGr}, L"\u20AC"},
                                {{'M', kAltGr}, L"\u00B5"},
                                {{'2', kAltGr}, L"\u00B2"},
                                {{'7', kAltGr}, L"{"}});
// Polish (programmer's): AltGr gives the letters with diacritics, with Shift their capitals.
const FakeLayout kPolishLayout({{{'A', kAltGr}, L"\u0105"},
                                {{'A', kAltGr | HOTKEYF_SHIFT}, L"\u0104"},
                                {{'E', kAltGr}, L"\u0119"},
                                {{'E', kAltGr | HOTKEYF_SHIFT}, L"\u0118"},
                                {{'L', kAltGr}, L"\u0142"},
                                {{'L', kAltGr | HOTKEYF_SHIFT}, L"\u0141"}});

}  // namespace

// On many layouts Ctrl+Alt is AltGr: a hot key there would take the character from every
// program. The layout's own translation says which combinations type one.
TEST(HotKeyLayout, AltGrCombinationsThatTypeACharacterAreKnownAsSuch) {
    for (UINT key : {'Q', 'E', 'M', '2', '7'}) {
        EXPECT_TRUE(HotKeyTypesCharacter(Key(key, kAltGr), kGermanLayout)) << char(key);
    }
    for (UINT key : {'A', 'E', 'L'}) {
        EXPECT_TRUE(HotKeyTypesCharacter(Key(key, kAltGr), kPolishLayout)) << char(key);
        EXPECT_TRUE(HotKeyTypesCharacter(Key(key, kAltGr | HOTKEYF_SHIFT), kPolishLayout)) << char(key);
    }
    EXPECT_FALSE(HotKeyTypesCharacter(kCtrlAltH, kGermanLayout));
    EXPECT_FALSE(HotKeyTypesCharacter(Key('Q', kAltGr), kPolishLayout));
    EXPECT_FALSE(HotKeyTypesCharacter(Key('Q', HOTKEYF_CONTROL), kGermanLayout))
        << "a control character is typed by nobody";
    EXPECT_FALSE(HotKeyTypesCharacter(0, kGermanLayout));

    // The user's own layout, through the system's translation (a Latin one on the test machine).
    EXPECT_EQ(UserKeyboardLayout().Typed('A', 0), L"a");
    EXPECT_EQ(UserKeyboardLayout().Typed('A', HOTKEYF_SHIFT), L"A");
    EXPECT_FALSE(HotKeyTypesCharacter(Key('A', HOTKEYF_CONTROL), UserKeyboardLayout()));
}

// A key pressed on its own gets Ctrl+Alt from the field; where that is AltGr the field offers
// Ctrl+Alt+Shift instead, unless that types a character too. What the user pressed with the
// modifiers held stays, for OK to refuse.
TEST(HotKeyLayout, AKeyOnItsOwnIsOfferedWithShiftWhereCtrlAltWouldBeAltGr) {
    EXPECT_EQ(CompleteLoneKey(Key('Q', kAltGr), false, kGermanLayout), Key('Q', kAltGr | HOTKEYF_SHIFT));
    EXPECT_EQ(CompleteLoneKey(Key('E', kAltGr), false, kGermanLayout), Key('E', kAltGr | HOTKEYF_SHIFT));
    EXPECT_EQ(CompleteLoneKey(kCtrlAltH, false, kGermanLayout), kCtrlAltH);
    EXPECT_EQ(CompleteLoneKey(Key('Q', kAltGr), true, kGermanLayout), Key('Q', kAltGr));
    EXPECT_EQ(CompleteLoneKey(Key('A', kAltGr), false, kPolishLayout), Key('A', kAltGr)) << "\u0104 with Shift";
    EXPECT_EQ(CompleteLoneKey(Key('Q', kAltGr), false, kPolishLayout), Key('Q', kAltGr));
}

// OK with a combination that types a character keeps the old key, as with a key another program
// holds.
TEST(HotKeyLayout, OkRefusesACombinationThatTypesACharacterAndKeepsTheOldKey) {
    HWND owner = MakeWindow();
    SetHotKeyWindow(owner);
    ASSERT_TRUE(ApplyIconsHotKey(kCtrlAltH, true));
    const int saved = settings.hotkey;
    for (const auto& [layout, key] :
         {std::pair{&kGermanLayout, 'Q'}, std::pair{&kGermanLayout, 'E'}, std::pair{&kPolishLayout, 'A'},
          std::pair{&kPolishLayout, 'E'}, std::pair{&kPolishLayout, 'L'}}) {
        EXPECT_EQ(ChooseHotKey(Key(key, kAltGr), *layout), HotKeyChoice::kTypesCharacter) << char(key);
        EXPECT_EQ(RegisteredIconsHotKey(), kCtrlAltH);
        EXPECT_TRUE(KeyHeld(kCtrlAltH));
        EXPECT_FALSE(KeyHeld(Key(key, kAltGr)));
    }
    EXPECT_EQ(settings.hotkey, saved);
    ApplyIconsHotKey(0, false);
    SetHotKeyWindow(nullptr);
    DestroyWindow(owner);
}
