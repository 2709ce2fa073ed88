#include "appearance/toolbar.h"

#include <commctrl.h>

#include "common/failure_note.h"
#include "common/program.h"
#include "common/scoped_handle.h"

HWND CreateFlatToolbar(HWND parent, DWORD exStyle, DWORD style, int width, int height) {
    HWND toolbar = CreateWindowExW(exStyle, TOOLBARCLASSNAMEW, nullptr, style, 0, 0, width, height, parent, nullptr,
                                   ProgramInstance(), nullptr);
    if (toolbar == nullptr) {
        NoteFailure(L"CreateWindowEx (toolbar)");
        return nullptr;
    }
    SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    return toolbar;
}

// Made on first use and kept until the end.
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

void PlaceToolbar(HWND toolbar, HWND parent, int placeholderId, int height) {
    HWND placeholder = GetDlgItem(parent, placeholderId);
    ShowWindow(placeholder, SW_HIDE);
    RECT place = {};
    GetWindowRect(placeholder, &place);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
    SetWindowPos(toolbar, nullptr, place.left, place.top, place.right - place.left, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}
