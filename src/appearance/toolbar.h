// The program's flat toolbars: the settings dialog's link bar and the menu bar.
#pragma once
#include <windows.h>
#include <commctrl.h>

// Style of the program's flat toolbars (0x5600994C): child, visible, clipping, transparent,
// list and flat, with tool tips, no divider and no automatic size or position.
inline constexpr DWORD kFlatToolbarStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN |
                                           TBSTYLE_TRANSPARENT | TBSTYLE_LIST | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS |
                                           CCS_NODIVIDER | CCS_NOPARENTALIGN | CCS_NORESIZE;
static_assert(kFlatToolbarStyle == 0x5600994C);

// Creates a toolbar in `parent` with its own italic-free GUI font. With a place holder id,
// that control is hidden and the toolbar takes its left, top and width.
HWND CreateToolbar(DWORD exStyle, DWORD style, HWND parent, int placeholderId);
