#include "appearance/dark_painting.h"

#include "appearance/background_fill.h"
#include "appearance/dark_mode.h"
#include "common/scoped_handle.h"

namespace {

constexpr COLORREF kToolbarHotText = 0x00FFFF;
constexpr COLORREF kToolbarMark = 0xDE5050;
constexpr COLORREF kToolbarHighlight = 0x005050;
constexpr COLORREF kRebarTop = 0x404040;
constexpr COLORREF kRebarBottom = 0x000000;
constexpr COLORREF kStatusBarText = 0xFFFFFF;

}  // namespace

std::optional<LRESULT> DarkToolbarCustomDraw(NMTBCUSTOMDRAW& draw) {
    const DWORD stage = draw.nmcd.dwDrawStage;
    if (stage == CDDS_PREPAINT) {
        return CDRF_NOTIFYITEMDRAW;
    }
    if ((stage & CDDS_ITEMPREPAINT) == 0) {
        return std::nullopt;
    }
    draw.clrText = kDarkText;
    draw.clrMark = kToolbarMark;
    draw.clrBtnHighlight = kToolbarHighlight;
    draw.clrHighlightHotTrack = kToolbarHighlight;
    if ((draw.nmcd.uItemState & (CDIS_SELECTED | CDIS_HOT)) != 0) {
        draw.clrText = kToolbarHotText;
    }
    return TBCDRF_USECDCOLORS | TBCDRF_NOMARK | TBCDRF_HILITEHOTTRACK;
}

void PaintRebarBackground(HDC dc, const RECT& clip, const RECT& client, bool soft) {
    if (!soft) {
        FillOpaque(dc, clip, RGB(0, 0, 0));
        return;
    }
    const int rows = client.bottom - client.top;
    for (int row = 0; row < rows; ++row) {
        RECT line = {clip.left, client.top + row, clip.right, client.top + row + 1};
        FillOpaque(dc, line, GradientRowColour(kRebarTop, kRebarBottom, row, rows));
    }
}

void RepaintStatusBarText(HWND statusBar) {
    WindowDc windowDc(statusBar);
    HDC dc = windowDc.Get();
    if (dc == nullptr) {
        return;
    }
    RECT area = {};
    GetClientRect(statusBar, &area);
    wchar_t text[256] = L"";
    GetWindowTextW(statusBar, text, 255);
    auto font = reinterpret_cast<HFONT>(SendMessageW(statusBar, WM_GETFONT, 0, 0));
    ScopedSelect selectedFont(dc, font);
    ScopedTextColour textColour(dc, kStatusBarText);
    area.left += GetSystemMetrics(SM_CXSMICON) >> 1;  // the indent the control gives its own text
    DrawTextW(dc, text, -1, &area, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}
