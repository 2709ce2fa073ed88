#include "dialog/hot_key_dialog.h"

#include <commctrl.h>

#include "common/failure_note.h"
#include "common/program.h"
#include "desktop/icons_hot_key.h"
#include "lang/language_pack.h"
#include "lang/text_ids.h"
#include "resource_ids.h"
#include "settings/settings.h"
#include "settings/settings_table.h"

namespace {

constexpr int kKeyNameChars = 64;

// A letter alone would take the letter from every program: it gets Ctrl+Alt.
void RequireModifier(HWND control) {
    SendMessageW(control, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
}

void ShowTexts(HWND dialog) {
    SetWindowTextW(dialog, GetText(kTextHotkey));
    SetDlgItemTextW(dialog, IDCANCEL, GetText(kTextCancel));
}

// The key is registered before it is saved, so the INI file never names a key that does not work.
bool TakeChosenKey(HWND dialog) {
    const int chosen = LOWORD(SendDlgItemMessageW(dialog, IDC_HOTKEY_CONTROL, HKM_GETHOTKEY, 0, 0));
    if (chosen == settings.hotkey) {
        return true;
    }
    if (!ApplyIconsHotKey(chosen, true)) {
        SetDlgItemTextW(dialog, IDC_HOTKEY_MESSAGE, GetText(kTextHotkeyTaken));
        SetFocus(GetDlgItem(dialog, IDC_HOTKEY_CONTROL));
        return false;
    }
    ApplyIconsHotKey(chosen, settings.m_disable == 0);
    SaveSetting(&Settings::hotkey, chosen);
    return true;
}

INT_PTR CALLBACK HotKeyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: {
            ShowTexts(dialog);
            HWND control = GetDlgItem(dialog, IDC_HOTKEY_CONTROL);
            RequireModifier(control);
            SendMessageW(control, HKM_SETHOTKEY, static_cast<WPARAM>(settings.hotkey), 0);
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK && TakeChosenKey(dialog)) {
                EndDialog(dialog, IDOK);
            } else if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
            }
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

Text HotKeyText(int hotkey, const wchar_t* keyName) {
    if (hotkey == 0) {
        return Text();
    }
    const int flags = HIBYTE(hotkey);
    Text text;
    if ((flags & HOTKEYF_CONTROL) != 0) {
        text += L"Ctrl+";
    }
    if ((flags & HOTKEYF_SHIFT) != 0) {
        text += L"Shift+";
    }
    if ((flags & HOTKEYF_ALT) != 0) {
        text += L"Alt+";
    }
    text += keyName != nullptr ? keyName : L"";
    return text;
}

Text HotKeyText(int hotkey) {
    const UINT key = LOBYTE(hotkey);
    LONG scanCode = static_cast<LONG>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
    if ((HIBYTE(hotkey) & HOTKEYF_EXT) != 0) {
        scanCode |= 1 << 24;
    }
    wchar_t name[kKeyNameChars] = L"";
    if (GetKeyNameTextW(scanCode, name, kKeyNameChars) == 0) {
        wsprintfW(name, L"#%u", key);  // a key without a name still shows which one it is
    }
    return HotKeyText(hotkey, name);
}

Text HotKeyMenuText() {
    const Text base(GetText(kTextHotkey));
    if (settings.hotkey == 0) {
        return base + Text(L"\u2026");
    }
    return base + Text(L": ") + HotKeyText(settings.hotkey);
}

void ShowHotKeyDialog(HWND owner) {
    if (DialogBoxParamW(ProgramInstance(), MAKEINTRESOURCEW(IDD_HOTKEY), owner, HotKeyDialogProc, 0) == -1) {
        NoteFailure(L"DialogBoxParam (hot key)");
    }
}
