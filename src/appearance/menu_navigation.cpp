#include "appearance/menu_navigation.h"

int WrapMenuIndex(int index, int menuCount) {
    if (menuCount <= 0) {
        return 0;
    }
    if (index < 0) {
        return menuCount - 1;
    }
    return index >= menuCount ? 0 : index;
}

MenuKeyAction MenuKeyActionFor(WPARAM key, bool foreignPopup, UINT selectedItemFlags) {
    switch (key) {
        case VK_ESCAPE:
            return MenuKeyAction::kClose;
        case VK_LEFT:
            return foreignPopup ? MenuKeyAction::kLeaveToMenu : MenuKeyAction::kPreviousMenu;
        case VK_RIGHT:
            if (foreignPopup || (selectedItemFlags & MF_POPUP) != 0) {
                return MenuKeyAction::kLeaveToMenu;
            }
            return MenuKeyAction::kNextMenu;
        default:
            return MenuKeyAction::kLeaveToMenu;
    }
}

wchar_t ButtonAccelerator(const wchar_t* text) {
    if (text == nullptr) {
        return 0;
    }
    for (const wchar_t* at = text; *at != L'\0'; ++at) {
        if (at[0] == L'&' && at[1] == L'&') {
            ++at;  // "&&" is a plain ampersand
        } else if (at[0] == L'&' && at[1] != L'\0') {
            return at[1];
        }
    }
    for (const wchar_t* at = text; *at != L'\0'; ++at) {
        if (IsCharAlphaNumericW(*at)) {
            return *at;
        }
    }
    return 0;
}

bool SameAccelerator(wchar_t typed, wchar_t accelerator) {
    if (typed == 0 || accelerator == 0) {
        return false;
    }
    wchar_t pair[2] = {typed, accelerator};
    CharUpperBuffW(pair, 2);
    return pair[0] == pair[1];
}
