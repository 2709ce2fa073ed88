#include "dialog/link_bar.h"

#include <commctrl.h>

namespace {

constexpr int kButtonSize = 24;

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
