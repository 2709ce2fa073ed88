#include "dialog/link_bar.h"

#include <commctrl.h>

#include <algorithm>

#include "common/window_subclass.h"

namespace {

constexpr int kButtonSize = 24;

void PressHotButton(HWND toolbar) {
    TBBUTTON button = {};
    const LRESULT hot = SendMessageW(toolbar, TB_GETHOTITEM, 0, 0);
    if (hot >= 0 && SendMessageW(toolbar, TB_GETBUTTON, static_cast<WPARAM>(hot), reinterpret_cast<LPARAM>(&button))) {
        SendMessageW(GetParent(toolbar), WM_COMMAND, MAKEWPARAM(button.idCommand, BN_CLICKED),
                     reinterpret_cast<LPARAM>(toolbar));
    }
}

void MoveHotButton(HWND toolbar, int step) {
    const auto count = static_cast<int>(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0));
    if (count > 0) {
        const auto hot = static_cast<int>(SendMessageW(toolbar, TB_GETHOTITEM, 0, 0));
        SendMessageW(toolbar, TB_SETHOTITEM, static_cast<WPARAM>((std::max(hot, 0) + step + count) % count), 0);
    }
}

LRESULT CALLBACK LinkBarKeys(HWND toolbar, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    switch (message) {
        case WM_GETDLGCODE: {
            // Enter would go to the dialog's default button unless the bar asks for it.
            const auto* key = reinterpret_cast<const MSG*>(lParam);
            const bool enter = key != nullptr && key->message == WM_KEYDOWN && key->wParam == VK_RETURN;
            return PassToWindow(toolbar, message, wParam, lParam, LinkBarKeys) | DLGC_WANTARROWS |
                   (enter ? DLGC_WANTMESSAGE : 0);
        }
        case WM_SETFOCUS:
            if (SendMessageW(toolbar, TB_GETHOTITEM, 0, 0) < 0) {
                SendMessageW(toolbar, TB_SETHOTITEM, 0, 0);
            }
            break;
        case WM_KILLFOCUS:
            SendMessageW(toolbar, TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
            break;
        case WM_KEYDOWN:
            if (wParam == VK_RETURN || wParam == VK_SPACE) {
                PressHotButton(toolbar);
                return 0;
            }
            if (wParam == VK_LEFT || wParam == VK_UP || wParam == VK_RIGHT || wParam == VK_DOWN) {
                MoveHotButton(toolbar, wParam == VK_LEFT || wParam == VK_UP ? -1 : 1);
                return 0;
            }
            break;
        default:
            break;
    }
    return PassToWindow(toolbar, message, wParam, lParam, LinkBarKeys);
}

}  // namespace

void AddLinkButton(HWND toolbar, const wchar_t* text, int command, int image) {
    TBBUTTON button = {};
    button.iBitmap = image;
    button.idCommand = command;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = BTNS_BUTTON;
    if (SendMessageW(toolbar, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button)) != 0) {
        // The text goes in afterwards so that it is the button's own label, not an entry of
        // the toolbar's string pool.
        TBBUTTONINFOW info = {};
        info.cbSize = sizeof(info);
        info.dwMask = TBIF_TEXT | TBIF_STYLE;
        info.fsStyle = BTNS_AUTOSIZE;
        info.pszText = const_cast<wchar_t*>(text);
        SendMessageW(toolbar, TB_SETBUTTONINFOW, command, reinterpret_cast<LPARAM>(&info));
    }
    SendMessageW(toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(kButtonSize, kButtonSize));
}

void RemoveLinkButtons(HWND toolbar, int count) {
    for (int i = 0; i < count; ++i) {
        SendMessageW(toolbar, TB_DELETEBUTTON, 0, 0);
    }
}

void MakeLinkBarReachable(HWND toolbar) {
    AttachSubclass(toolbar, LinkBarKeys, nullptr);
}
