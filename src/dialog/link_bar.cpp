#include "dialog/link_bar.h"

#include <commctrl.h>

#include "app/process_objects.h"
#include "common/scoped_handle.h"

namespace {

constexpr int kButtonSize = 24;
constexpr int kBitmapHeight = 12;

// One font for the process, made on first use and kept until the end.
HFONT LinkBarFont() {
    static ScopedGdiObject font = [] {
        LOGFONTW logFont = {};
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(logFont), &logFont);
        logFont.lfItalic = 0;
        logFont.lfCharSet = DEFAULT_CHARSET;
        logFont.lfQuality = PROOF_QUALITY;
        return ScopedGdiObject(CreateFontIndirectW(&logFont));
    }();
    return static_cast<HFONT>(font.Get());
}

void TakePlaceOf(HWND toolbar, HWND parent, int placeholderId, int iconHeight) {
    HWND placeholder = GetDlgItem(parent, placeholderId);
    ShowWindow(placeholder, SW_HIDE);
    RECT place = {};
    GetWindowRect(placeholder, &place);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
    int height = static_cast<int>(iconHeight * 1.1);
    SetWindowPos(toolbar, nullptr, place.left, place.top, place.right - place.left, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

HWND CreateToolbar(DWORD exStyle, DWORD style, HWND parent, int placeholderId) {
    int cy = GetSystemMetrics(SM_CYICON);
    HWND toolbar = CreateWindowExW(exStyle, TOOLBARCLASSNAMEW, nullptr, style, 0, 0, 12 * cy, cy + 2, parent, nullptr,
                                   instanceHandle, nullptr);
    if (toolbar == nullptr) {
        return nullptr;
    }
    SendMessageW(toolbar, WM_SETFONT, reinterpret_cast<WPARAM>(LinkBarFont()), FALSE);
    SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, kBitmapHeight));
    if (placeholderId != 0) {
        TakePlaceOf(toolbar, parent, placeholderId, cy);
    }
    return toolbar;
}

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
