// The desktop's list view: a dozen labelled shell icons at fixed places in the left part of
// the screen, over a transparent background so the desktop view's wallpaper shows through.
#pragma once
#include <windows.h>
#include <commctrl.h>

namespace standin {

// Posted to the list view's parent after the list view's first paint. Wine's list view
// arranges its icons on that paint, so fixed positions only stick when set afterwards.
constexpr UINT kIconsPaintedMessage = 0x8101;  // WM_APP + 0x101

// The icons' image list; the list view only borrows it (LVS_SHAREIMAGELISTS).
HIMAGELIST CreateDesktopImageList();

// A visible list view filling `parent`'s client area, holding the items, or null.
HWND CreateDesktopListView(HWND parent, HIMAGELIST images);

// Puts every item at its fixed position (standin_protocol.h).
void PlaceDesktopIcons(HWND listView);

}  // namespace standin
