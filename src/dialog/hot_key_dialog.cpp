#include "dialog/hot_key_dialog.h"

#include <commctrl.h>

#include "common/failure_note.h"
#include "common/program.h"
#include "desktop/icons_hot_key.h"
#include "dialog/dialog_layout.h"
#include "dialog/keyboard_layout.h"
#include "lang/language_pack.h"
#include "lang/text_ids.h"
#include "resource_ids.h"
#include "settings/settings.h"
#include "settings/settings_table.h"

namespace {

constexpr int kKeyNameChars = 64;

// What the open dialog keeps after a move to a monitor of another DPI; one dialog at a time.
DpiLayoutObjects hotKeyLayout;

// A letter alone would take the letter from every program: it gets Ctrl+Alt.
void RequireModifier(HWND control) {
    SendMessageW(control, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
}

void ShowTexts(HWND dialog) {
    SetWindowTextW(dialog, GetText(kTextHotkey));
    SetDlgItemTextW(dialog, IDCANCEL, GetText(kTextCancel));
    // The hot-key control shows the key, not what it is for: the hidden label before it names
    // it, and so does its own text for screen readers that ask the control.
    SetDlgItemTextW(dialog, IDC_HOTKEY_LABEL, GetText(kTextHotkey));
    SetDlgItemTextW(dialog, IDC_HOTKEY_CONTROL, GetText(kTextHotkey));
}

void ReportRefusal(HWND dialog, int text) {
    SetDlgItemTextW(dialog, IDC_HOTKEY_MESSAGE, GetText(text));
    SetFocus(GetDlgItem(dialog, IDC_HOTKEY_CONTROL));
}

bool TakeChosenKey(HWND dialog) {
    const int chosen = LOWORD(SendDlgItemMessageW(dialog, IDC_HOTKEY_CONTROL, HKM_GETHOTKEY, 0, 0));
    const HotKeyChoice choice = ChooseHotKey(chosen, UserKeyboardLayout());
    if (choice == HotKeyChoice::kSaved) {
        return true;
    }
    ReportRefusal(dialog, choice == HotKeyChoice::kTypesCharacter ? kTextHotkeyTypesCharacter : kTextHotkeyTaken);
    return false;
}

// The field reports each key the user presses (EN_CHANGE); GetKeyState tells whether the user
// held Ctrl or Alt for it, or the field added them.
void OfferAltGrFreeKey(HWND dialog) {
    HWND control = GetDlgItem(dialog, IDC_HOTKEY_CONTROL);
    const int shown = LOWORD(SendMessageW(control, HKM_GETHOTKEY, 0, 0));
    const bool held = GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0;
    const int offered = CompleteLoneKey(shown, held, UserKeyboardLayout());
    if (offered != shown) {
        SendMessageW(control, HKM_SETHOTKEY, static_cast<WPARAM>(offered), 0);
    }
}

// Opening the dialog tries the saved key again; a key still held elsewhere is reported at once.
void RetrySavedKey(HWND dialog) {
    if (!ApplyIconsHotKey(settings.hotkey, settings.m_disable == 0)) {
        ReportRefusal(dialog, kTextHotkeyTaken);
    }
}

INT_PTR CALLBACK HotKeyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            TakeOverDpiScaling(dialog);
            ShowTexts(dialog);
            HWND control = GetDlgItem(dialog, IDC_HOTKEY_CONTROL);
            RequireModifier(control);
            SendMessageW(control, HKM_SETHOTKEY, static_cast<WPARAM>(settings.hotkey), 0);
            RetrySavedKey(dialog);
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_HOTKEY_CONTROL && HIWORD(wParam) == EN_CHANGE) {
                OfferAltGrFreeKey(dialog);
            } else if (LOWORD(wParam) == IDOK && TakeChosenKey(dialog)) {
                EndDialog(dialog, IDOK);
            } else if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
            }
            return TRUE;
        case WM_GETDPISCALEDSIZE:
            return AnswerDpiScaledSize(dialog, IDD_HOTKEY, wParam, lParam);
        case WM_DPICHANGED:
            TakeSuggestedRect(dialog, lParam);
            LayOutFromTemplate(dialog, IDD_HOTKEY, HIWORD(wParam), hotKeyLayout);
            SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

HotKeyChoice ChooseHotKey(int chosen, const KeyboardLayout& layout) {
    // Registered as a hot key, the combination would type its character in no program.
    if (HotKeyTypesCharacter(chosen, layout)) {
        return HotKeyChoice::kTypesCharacter;
    }
    // Registered before it is saved, so the INI file never names a key that does not work.
    if (!ApplyIconsHotKey(chosen, true)) {
        return HotKeyChoice::kTaken;
    }
    ApplyIconsHotKey(chosen, settings.m_disable == 0);
    if (chosen != settings.hotkey) {
        SaveSetting(&Settings::hotkey, chosen);
    }
    return HotKeyChoice::kSaved;
}

int CompleteLoneKey(int shown, bool ctrlOrAltHeld, const KeyboardLayout& layout) {
    constexpr int kAltGr = HOTKEYF_CONTROL | HOTKEYF_ALT;
    if (ctrlOrAltHeld || (HIBYTE(shown) & ~HOTKEYF_EXT) != kAltGr || !HotKeyTypesCharacter(shown, layout)) {
        return shown;
    }
    const int withShift = MAKEWORD(LOBYTE(shown), HIBYTE(shown) | HOTKEYF_SHIFT);
    return HotKeyTypesCharacter(withShift, layout) ? shown : withShift;
}

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
    Text text = base + Text(L": ") + HotKeyText(settings.hotkey);
    // Another program held the key when the program last tried it.
    if (settings.m_disable == 0 && RegisteredIconsHotKey() != settings.hotkey) {
        text += Text(L" (") + Text(GetText(kTextHotkeyNotActive)) + Text(L")");
    }
    return text;
}

void ShowHotKeyDialog(HWND owner) {
    if (DialogBoxParamW(ProgramInstance(), MAKEINTRESOURCEW(IDD_HOTKEY), owner, HotKeyDialogProc, 0) == -1) {
        NoteFailure(L"DialogBoxParam (hot key)");
    }
    hotKeyLayout = DpiLayoutObjects();  // its controls are gone
}
