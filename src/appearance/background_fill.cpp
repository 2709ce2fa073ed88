#include "appearance/background_fill.h"

// ExtTextOut with no text fills fastest.
bool FillOpaque(HDC dc, const RECT& area, COLORREF colour) {
    const COLORREF previous = SetBkColor(dc, colour);
    if (previous == CLR_INVALID) {
        return false;
    }
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
    SetBkColor(dc, previous);
    return true;
}

namespace {

BYTE GradientComponent(int top, int bottom, int row, int rows) {
    return static_cast<BYTE>(top + (row * (bottom - top)) / rows);
}

}  // namespace

COLORREF GradientRowColour(COLORREF top, COLORREF bottom, int row, int rows) {
    return RGB(GradientComponent(GetRValue(top), GetRValue(bottom), row, rows),
               GradientComponent(GetGValue(top), GetGValue(bottom), row, rows),
               GradientComponent(GetBValue(top), GetBValue(bottom), row, rows));
}

LRESULT EraseWithGrandparent(HWND window, HDC dc) {
    HWND grandparent = GetParent(GetParent(window));
    POINT origin = {0, 0};
    MapWindowPoints(window, grandparent, &origin, 1);
    OffsetWindowOrgEx(dc, origin.x, origin.y, nullptr);
    const LRESULT answer = SendMessageW(grandparent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    OffsetWindowOrgEx(dc, -origin.x, -origin.y, nullptr);
    return answer;
}
