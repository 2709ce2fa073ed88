#include "appearance/menu_bar.h"

// Not built yet: the dialog has no menu bar; menus given to it are released.

MenuBar::~MenuBar() {
    if (menu_ != nullptr) {
        DestroyMenu(menu_);
    }
}

bool MenuBar::Create(HWND) {
    return false;
}

void MenuBar::AttachMenu(HMENU menu) {
    if (menu_ != nullptr) {
        DestroyMenu(menu_);
    }
    menu_ = menu;
}

void MenuBar::AddRightButton(const wchar_t*, UINT) {}

void MenuBar::ClearRightButtons() {}
