#include "appearance/toolbar.h"

#include <commctrl.h>

#include "common/failure_note.h"
#include "common/program.h"
#include "common/scoped_handle.h"

namespace {

constexpr int kBitmapHeight = 12;

// One font for the process, made on first use and kept until the end.
HFONT ToolbarFont() {
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
                                   ProgramInstance(), nullptr);
    if (toolbar == nullptr) {
        NoteFailure(L"CreateWindowEx (toolbar)");
        return nullptr;
    }
    SendMessageW(toolbar, WM_SETFONT, reinterpret_cast<WPARAM>(ToolbarFont()), FALSE);
    SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, kBitmapHeight));
    if (placeholderId != 0) {
        TakePlaceOf(toolbar, parent, placeholderId, cy);
    }
    return toolbar;
}
