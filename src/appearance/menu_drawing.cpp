#include "appearance/menu_drawing.h"

#include <cstdlib>

#include "appearance/dark_mode.h"
#include "appearance/menu_font.h"
#include "common/scoped_handle.h"
#include "common/window_dpi.h"

namespace {

constexpr COLORREF kDarkGrey = RGB(128, 128, 128);
constexpr COLORREF kDarkHighlightText = RGB(255, 255, 125);
constexpr int kSeparatorInset = 10;
constexpr int kTextGap = 3;
constexpr UINT kTextFormat = DT_SINGLELINE | DT_VCENTER | DT_HIDEPREFIX;

int TextWidth(HDC dc, HFONT font, const Text& text) {
    ScopedSelect selected(dc, font);
    RECT bounds = {};
    DrawTextW(dc, text.c_str(), -1, &bounds, DT_CALCRECT | DT_SINGLELINE | DT_VCENTER);
    return bounds.right - bounds.left;
}

COLORREF TextColour(const MenuLook& look, bool grayed, bool selected) {
    if (grayed) {
        // The button shadow may be the menu's own colour in a high-contrast scheme.
        const bool grayText = selected || look.highContrast;
        return MenuColourFor(look.dark, grayText ? COLOR_GRAYTEXT : COLOR_BTNSHADOW);
    }
    return MenuColourFor(look.dark, selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
}

RECT SideBandOf(const RECT& item, const MenuMetrics& metrics) {
    return RECT{item.left, item.top, item.left + metrics.iconColumnWidth - 1, item.bottom};
}

void PaintBackground(const DRAWITEMSTRUCT& item, const MenuLook& look, const MenuMetrics& metrics, PixelSink& painter) {
    const RECT& rc = item.rcItem;
    if (look.dark) {
        painter.Fill(rc, kDarkBackground);
    } else if (look.highContrast) {
        painter.Fill(rc, GetSysColor(COLOR_MENU));  // whatever brush the menu was given before
    }
    if (look.sideBand) {
        PaintSideBand(painter, SideBandOf(rc, metrics));
    }
    if ((item.itemState & ODS_SELECTED) != 0) {
        const COLORREF highlight = MenuColourFor(look.dark, COLOR_HIGHLIGHT);
        if (look.softPaint) {
            PaintSelectionGradient(painter, rc, highlight);
        } else {
            painter.Fill(rc, highlight);
        }
    } else if (item.itemAction == ODA_SELECT) {
        // The item just lost the selection: nothing else paints the bar away.
        painter.Fill(rc, MenuColourFor(look.dark, COLOR_MENU));
        if (look.sideBand) {
            PaintSideBand(painter, SideBandOf(rc, metrics));
        }
    }
}

void PaintSeparator(const RECT& rc, const MenuLook& look, const MenuMetrics& metrics, PixelSink& painter) {
    const int y = (rc.top + rc.bottom) / 2;
    const int inset = ScaleToDpi(kSeparatorInset, metrics.dpi);
    painter.Fill(RECT{rc.left + inset, y, rc.right - inset, y + 1}, MenuColourFor(look.dark, COLOR_GRAYTEXT));
}

RECT IconCell(const RECT& rc, const MenuMetrics& metrics) {
    const int top = rc.top + ((rc.bottom - rc.top) - metrics.itemHeight) / 2;
    return RECT{rc.left, top, rc.left + metrics.iconColumnWidth, top + metrics.itemHeight};
}

void DrawTextColumns(HDC dc, const Text& text, RECT area, COLORREF colour) {
    ScopedTextColour textColour(dc, colour);
    const int tab = text.Find(L'\t');
    if (tab < 0) {
        DrawTextW(dc, text.c_str(), -1, &area, kTextFormat);
    } else {
        DrawTextW(dc, text.c_str(), tab, &area, kTextFormat);
        DrawTextW(dc, text.c_str() + tab + 1, -1, &area, kTextFormat | DT_RIGHT);
    }
}

}  // namespace

MenuLook MenuLook::Effective() const {
    if (!highContrast) {
        return *this;
    }
    MenuLook plain = *this;
    plain.dark = false;
    plain.softPaint = false;
    plain.sideBand = false;
    return plain;
}

MenuMetrics MenuMetrics::ForDpi(UINT dpi) {
    MenuMetrics metrics;
    metrics.dpi = dpi;
    metrics.imageWidth = SystemMetricForDpi(SM_CXSMICON, dpi);
    metrics.imageHeight = SystemMetricForDpi(SM_CYSMICON, dpi);
    metrics.iconColumnWidth = metrics.imageWidth + ScaleToDpi(5, dpi);
    metrics.itemHeight = metrics.imageHeight + ScaleToDpi(2, dpi);
    metrics.separatorHeight = SystemMetricForDpi(SM_CYMENU, dpi) / 2;
    metrics.checkWidth = SystemMetricForDpi(SM_CXMENUCHECK, dpi);
    return metrics;
}

COLORREF MenuColourFor(bool dark, int index) {
    if (!dark) {
        return GetSysColor(index);
    }
    switch (index) {
        case COLOR_MENU:
        case COLOR_WINDOW:
            return kDarkBackground;
        case COLOR_MENUTEXT:
            return kDarkText;
        case COLOR_HIGHLIGHT:
        case COLOR_BTNSHADOW:
        case COLOR_GRAYTEXT:
        case COLOR_MENUHILIGHT:
            return kDarkGrey;
        case COLOR_HIGHLIGHTTEXT:
            return kDarkHighlightText;
        default:
            return GetSysColor(index);
    }
}

COLORREF MenuColour(int index) {
    return MenuColourFor(IsDarkModeActive(), index);
}

SIZE MeasureMenuItem(const MenuItemRecord& record, const MenuMetrics& metrics) {
    if ((record.type & MFT_SEPARATOR) != 0) {
        return SIZE{0, metrics.separatorHeight};
    }
    const UINT dpi = metrics.dpi;
    const bool isDefault = (record.state & MFS_DEFAULT) != 0;
    const MenuFont& font = MenuFontAt(dpi, isDefault);
    ScreenDc screen;
    const int textWidth = TextWidth(screen.Get(), isDefault ? font.bold : font.plain, record.text);
    const int fontHeight = std::abs(static_cast<int>(font.logFont.lfHeight)) + ScaleToDpi(8, dpi);
    // The system adds room for its own check mark to an owner-drawn item; the icon column
    // takes that place here.
    const int width = textWidth + 2 * metrics.iconColumnWidth + ScaleToDpi(22, dpi) - metrics.checkWidth;
    return SIZE{width > 0 ? width : 0, fontHeight > metrics.itemHeight ? fontHeight : metrics.itemHeight};
}

void DrawMenuItem(const DRAWITEMSTRUCT& item,
                  const MenuItemRecord& record,
                  const MenuLook& requestedLook,
                  const MenuMetrics& metrics,
                  const CommandImages& images,
                  PixelSink& painter) {
    const MenuLook look = requestedLook.Effective();
    const RECT& rc = item.rcItem;
    PaintBackground(item, look, metrics, painter);
    if ((record.type & MFT_SEPARATOR) != 0) {
        PaintSeparator(rc, look, metrics, painter);
        return;
    }
    const bool grayed = (item.itemState & ODS_GRAYED) != 0;
    // Id 0xFFFF stands for an item without a command of its own: its text never shows selected.
    const bool selected = (item.itemState & ODS_SELECTED) != 0 && LOWORD(item.itemID) != 0xFFFF;
    const COLORREF textColour = TextColour(look, grayed, selected);

    RECT cell = IconCell(rc, metrics);
    const bool hasImage = record.imageIndex >= 0;
    if (hasImage && !grayed) {
        images.Draw(item.hDC, record.imageIndex, cell.left + (metrics.iconColumnWidth - metrics.imageWidth) / 2,
                    cell.top + (metrics.itemHeight - metrics.imageHeight) / 2);
    }
    int extra = 0;
    if ((item.itemState & ODS_CHECKED) != 0) {
        if (hasImage) {
            // The mark stands beside the picture, and the text makes room for both.
            const int smallIcon = metrics.imageHeight;
            OffsetRect(&cell, smallIcon, 0);
            extra = static_cast<int>(smallIcon * 0.8);
        }
        PaintCheckMark(painter, cell, textColour);
    }
    const RECT textArea = {rc.left + metrics.iconColumnWidth + extra + ScaleToDpi(kTextGap, metrics.dpi), rc.top,
                           rc.right - metrics.iconColumnWidth, rc.bottom};
    DrawTextColumns(item.hDC, record.text, textArea, textColour);

    // The system draws the arrow of an owner-drawn item in its light colours only.
    if (record.hasSubmenu && look.dark) {
        PaintSubmenuArrow(painter,
                          RECT{rc.right - 2 * metrics.iconColumnWidth, rc.top, rc.right, rc.top + metrics.itemHeight},
                          textColour);
    }
}
