#include "appearance/owner_drawn_menu_bar.h"

#include "appearance/background_fill.h"
#include "appearance/dark_mode.h"
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
    menuLogFont_ = SystemMenuLogFont();
    fallbackFont_.Reset();
    menuFont_ = SystemMenuFont();
    metrics_ = MenuMetrics::FromSystem();
    images_.Reset(metrics_.imageWidth, metrics_.imageHeight);
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
    const SIZE size = MeasureMenuItem(*record, menuFont_, menuLogFont_, metrics_);
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
    ScopedSelect menuFont(item.hDC, MenuFontReady(item.hDC) ? menuFont_ : nullptr);
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

// Without a menu font this item is drawn in the context's font, and the menu font is made
// from that one for the items after it.
bool OwnerDrawnMenuBar::MenuFontReady(HDC dc) {
    if (menuFont_ != nullptr) {
        return true;
    }
    GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof(menuLogFont_), &menuLogFont_);
    fallbackFont_.Reset(CreateFontIndirectW(&menuLogFont_));
    menuFont_ = static_cast<HFONT>(fallbackFont_.Get());
    return false;
}
