// Measuring and painting one owner-drawn menu item: icon column, check mark, text with the
// accelerator at the right, submenu arrow, selection bar, and the colours of the light and
// dark look.
#pragma once
#include <windows.h>

#include "appearance/menu_images.h"
#include "appearance/menu_items.h"
#include "appearance/menu_pixels.h"

// Sizes taken from the system's small icons at the DPI a menu is shown at.
struct MenuMetrics {
    UINT dpi = 0;
    int iconColumnWidth = 0;  // the icon column at the left, and the arrow box
    int itemHeight = 0;       // least item height, and the icon cell's height
    int imageWidth = 0;
    int imageHeight = 0;
    int separatorHeight = 0;
    int checkWidth = 0;  // the room the system adds to an item for its own check mark

    static MenuMetrics ForDpi(UINT dpi);
};

// How the items look at the moment they are drawn.
struct MenuLook {
    bool dark = false;
    bool softPaint = true;  // gradient rather than solid selection
    bool sideBand = false;  // the language menu's band over the icon column
    // The system's colours only, solid: no gradient, no band, no dark palette.
    bool highContrast = false;

    // What is drawn of this look in high contrast.
    MenuLook Effective() const;
};

// System colour `index` as the menus show it in the light or the dark look.
COLORREF MenuColourFor(bool dark, int index);

// The same for the look the program has now.
COLORREF MenuColour(int index);

// The size of an item in the menu font at the metrics' DPI (default items are measured in bold).
SIZE MeasureMenuItem(const MenuItemRecord& record, const MenuMetrics& metrics);

// Paints an item into item.hDC with the font selected there; fills go through `painter`.
void DrawMenuItem(const DRAWITEMSTRUCT& item,
                  const MenuItemRecord& record,
                  const MenuLook& look,
                  const MenuMetrics& metrics,
                  const CommandImages& images,
                  PixelSink& painter);
