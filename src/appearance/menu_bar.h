// The settings dialog's menu bar: a toolbar that acts as a menu bar, one button per item of
// an attached menu, with popups under the pressed button, and buttons on the right-hand side
// that send a command directly. The owner-drawn variant derives from it.
#pragma once
#include <windows.h>

class MenuBar {
  public:
    MenuBar() = default;
    MenuBar(const MenuBar&) = delete;
    MenuBar& operator=(const MenuBar&) = delete;
    virtual ~MenuBar();

    // Where the bar goes in its parent's client area, and the height of its buttons.
    int top = 0;
    int buttonHeight = 0;

    // Creates the bar in `parent`, whose commands the bar's menus send. False on failure.
    bool Create(HWND parent);

    // Takes `menu` (owned from now on) and makes a button of each of its items.
    void AttachMenu(HMENU menu);

    // A button at the right-hand end that sends `command` to the parent.
    void AddRightButton(const wchar_t* text, UINT command);
    void ClearRightButtons();

    // The bar's window; null before Create.
    HWND Window() const { return toolbar_; }

  protected:
    HWND toolbar_ = nullptr;
    HMENU menu_ = nullptr;
};
