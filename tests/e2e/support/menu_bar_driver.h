// The settings dialog's menu bar seen from the test process: its two toolbars, their buttons'
// texts and places (read through memory lent in the program's process, since toolbar messages
// carry pointers), and real clicks on them.
#pragma once
#include <windows.h>

#include <string>

namespace e2e {

class MenuBarDriver {
  public:
    explicit MenuBarDriver(HWND dialog);

    HWND Bar() const { return bar_; }
    HWND RightToolbar() const { return right_; }

    int ButtonCount(HWND toolbar) const;
    std::wstring ButtonText(HWND toolbar, int index) const;
    // In screen coordinates.
    RECT ButtonRect(HWND toolbar, int index) const;
    bool Pressed(HWND toolbar, UINT command) const;
    int IndexOf(HWND toolbar, UINT command) const;

    // A real click in the middle of the button with `command`.
    void Click(HWND toolbar, UINT command) const;

  private:
    HWND bar_ = nullptr;
    HWND right_ = nullptr;
    DWORD processId_ = 0;
};

// The open popup menu's place on the screen; empty when no menu is open.
RECT OpenMenuRect();

}  // namespace e2e
