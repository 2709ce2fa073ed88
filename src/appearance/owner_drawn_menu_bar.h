// The menu bar whose popups the program draws itself: a column of command icons, its own
// check mark and selection bar, colours that follow dark mode, and a side band while the
// language menu is open; all at the DPI of the monitor the popup opens on.
#pragma once
#include <windows.h>

#include "appearance/menu_bar.h"
#include "appearance/menu_drawing.h"
#include "appearance/menu_images.h"
#include "appearance/menu_items.h"

class OwnerDrawnMenuBar : public MenuBar {
  public:
    OwnerDrawnMenuBar();
    ~OwnerDrawnMenuBar() override;

    // Measures and draws the items it converted, and converts each popup the bar tracks just
    // before it opens; everything else as the plain bar.
    LRESULT OnToolbarMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Fills `area` with one colour, leaving the context's background colour as it was.
    virtual void FillSolidRect(HDC dc, const RECT& area, COLORREF colour);
    // Paints one item, if it is one of the converted ones.
    virtual void DrawItem(const DRAWITEMSTRUCT& item);

    // Sizes from the system at the screen's DPI, no command images; before any image is
    // registered.
    void InitMenuAppearance();

    // Items are measured and drawn at `dpi` from now on; a change has the converted menus
    // measured again.
    void UseMenuDpi(UINT dpi);

    // `icon` (copied) goes beside every item with `command`; the first registration of a
    // command wins. Returns `command`, or 0 when the image could not be kept.
    UINT RegisterCommandImage(HICON icon, UINT command);

    // Switches the items of `popup` that are not owner-drawn yet to owner drawing.
    void ConvertPopup(HMENU popup);

    // Set while the language menu is open: its items get the side band.
    void SetLanguagePopupOpen(bool open) { languagePopupOpen_ = open; }

    int LiveRecordCount() const { return records_.Count(); }

  private:
    bool MeasureItem(MEASUREITEMSTRUCT& item) const;
    MenuLook CurrentLook() const;

    bool languagePopupOpen_ = false;
    CommandImages images_;
    MenuMetrics metrics_;
    MenuItemRecords records_;
};
