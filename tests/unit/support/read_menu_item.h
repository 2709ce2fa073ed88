// What a test reads back from a built menu: one item's id, type, text and state.
#pragma once
#include <windows.h>

#include <string>

struct MenuItemView {
    UINT id;
    UINT type;
    std::wstring text;
    UINT state = 0;
};

inline MenuItemView ReadMenuItem(HMENU menu, int position) {
    wchar_t text[256] = L"";
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 256;
    GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
    return {info.wID, info.fType, text, info.fState};
}
