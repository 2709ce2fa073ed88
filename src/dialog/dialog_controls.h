// Small helpers for the settings dialog's controls.
#pragma once
#include <windows.h>

// The state of a check box as the option value it stands for: 0 or 1.
inline int CheckBoxValue(HWND dialog, int id) {
    return SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

inline void SetCheckBox(HWND dialog, int id, int value) {
    SendDlgItemMessageW(dialog, id, BM_SETCHECK, value != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
}

inline void EnableControl(HWND dialog, int id, bool enable) {
    EnableWindow(GetDlgItem(dialog, id), enable ? TRUE : FALSE);
}

// A control's rectangle in the dialog's client coordinates.
inline RECT ControlRect(HWND dialog, int id) {
    RECT rect = {};
    HWND control = GetDlgItem(dialog, id);
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}
