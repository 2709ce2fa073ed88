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

// Creates a toolbar of `style` (kFlatToolbarStyle, with more bits if need be) in `parent`,
// `width` x `height` at its top left corner until its owner places it; null when the system
// refuses (noted).
HWND CreateFlatToolbar(HWND parent, DWORD exStyle, DWORD style, int width, int height);

// The link bar's font for the process: the GUI font, never italic, at the screen's DPI.
HFONT ToolbarFont();

// Hides the place holder control `placeholderId` of `parent` and gives `toolbar` its left, top
// and width, and `height`.
void PlaceToolbar(HWND toolbar, HWND parent, int placeholderId, int height);
