#include "appearance/menu_bar.h"

// Not built yet: the dialog has no menu bar; menus given to it are released.

MenuBar::~MenuBar() {
    if (menu_ != nullptr) {
        DestroyMenu(menu_);
    }
}

LRESULT MenuBar::OnParentMessage(UINT, WPARAM, LPARAM) {
    return 0;
}

LRESULT MenuBar::OnToolbarMessage(UINT, WPARAM, LPARAM) {
    return 0;
}

bool MenuBar::Create(HWND) {
    return false;
}

int MenuBar::AttachMenu(HMENU menu) {
    if (menu_ != nullptr) {
        DestroyMenu(menu_);
    }
    menu_ = menu;
    return 0;
}

void MenuBar::AddRightButton(const wchar_t*, UINT) {}

void MenuBar::ClearRightButtons() {}

UINT MenuBar::TrackForeignPopup(HMENU menu, int x, int y, UINT flags) {
    return static_cast<UINT>(TrackPopupMenuEx(menu, flags, x, y, parent_, nullptr));
}

bool MenuBar::IsTrackingPopup() {
    return false;
}

void SetMenuBackground(HMENU) {}
