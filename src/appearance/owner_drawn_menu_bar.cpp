#include "appearance/owner_drawn_menu_bar.h"

#include "appearance/background_fill.h"
#include "appearance/dark_mode.h"
#include "appearance/menu_font.h"
#include "common/scoped_handle.h"
#include "common/window_dpi.h"
#include "settings/settings.h"

namespace {

// Feeds the pixel recipes into a device context: single pixels as pixels, the rest through
// the bar's solid fill.
class DcPainter final : public PixelSink {
  public:
    DcPainter(OwnerDrawnMenuBar& bar, HDC dc) : bar_(bar), dc_(dc) {}
    void Fill(const RECT& area, COLORREF colour) override {
        if (area.right - area.left == 1 && area.bottom - area.top == 1) {
            SetPixel(dc_, area.left, area.top, colour);
        } else if (area.right > area.left && area.bottom > area.top) {
            bar_.FillSolidRect(dc_, area, colour);
        }
    }

  private:
    OwnerDrawnMenuBar& bar_;
    HDC dc_;
};

}  // namespace

OwnerDrawnMenuBar::OwnerDrawnMenuBar() {
    InitMenuAppearance();
}

OwnerDrawnMenuBar::~OwnerDrawnMenuBar() = default;

void OwnerDrawnMenuBar::InitMenuAppearance() {
    languagePopupOpen_ = false;
    metrics_ = MenuMetrics::ForDpi(ScreenDpi());
    images_.Reset(metrics_.imageWidth, metrics_.imageHeight);
}

void OwnerDrawnMenuBar::UseMenuDpi(UINT dpi) {
    if (dpi == metrics_.dpi) {
        return;
    }
    metrics_ = MenuMetrics::ForDpi(dpi);
    images_.Resize(metrics_.imageWidth, metrics_.imageHeight);
    records_.MeasureAgain();
}

UINT OwnerDrawnMenuBar::RegisterCommandImage(HICON icon, UINT command) {
    return images_.Register(icon, command);
}

void OwnerDrawnMenuBar::ConvertPopup(HMENU popup) {
    records_.ForgetDestroyedMenus();
    records_.Convert(popup, images_);
}

LRESULT OwnerDrawnMenuBar::OnToolbarMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_MEASUREITEM: {
            auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            if (item != nullptr && MeasureItem(*item)) {
                return 1;
            }
            break;
        }
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item == nullptr || item->CtlType != ODT_MENU || records_.Find(item->itemData) == nullptr) {
                return 0;
            }
            DrawItem(*item);
            return 1;
        }
        case WM_INITMENUPOPUP:
            // The window menu (high word set) stays the system's; so does any popup that
            // opens while no bar is tracking one.
            if (HIWORD(lParam) == 0 && IsTrackingPopup()) {
                UseMenuDpi(DpiOfMonitorAt(popupPlace_, toolbar_));
                ConvertPopup(reinterpret_cast<HMENU>(wParam));
            }
            break;
        default:
            break;
    }
    return MenuBar::OnToolbarMessage(message, wParam, lParam);
}

bool OwnerDrawnMenuBar::MeasureItem(MEASUREITEMSTRUCT& item) const {
    if (item.CtlType != ODT_MENU) {
        return false;
    }
    const MenuItemRecord* record = records_.Find(item.itemData);
    if (record == nullptr) {
        return false;
    }
    const SIZE size = MeasureMenuItem(*record, metrics_);
    item.itemWidth = static_cast<UINT>(size.cx);
    item.itemHeight = static_cast<UINT>(size.cy);
    return true;
}

void OwnerDrawnMenuBar::FillSolidRect(HDC dc, const RECT& area, COLORREF colour) {
    FillOpaque(dc, area, colour);
}

void OwnerDrawnMenuBar::DrawItem(const DRAWITEMSTRUCT& item) {
    const MenuItemRecord* record = records_.Find(item.itemData);
    if (record == nullptr) {
        return;
    }
    ScopedSelect menuFont(item.hDC, MenuFontAt(metrics_.dpi).plain);
    DcPainter painter(*this, item.hDC);
    DrawMenuItem(item, *record, CurrentLook(), metrics_, images_, painter);
}

MenuLook OwnerDrawnMenuBar::CurrentLook() const {
    MenuLook look;
    look.dark = IsDarkModeActive();
    look.softPaint = settings.soft_paint != 0;
    look.sideBand = languagePopupOpen_;
    look.highContrast = IsHighContrastOn();
    return look;
}
