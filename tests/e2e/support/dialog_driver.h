// Drives a running Velmora's settings dialog from the test process: reads its controls across
// the process boundary and operates them with real mouse and keyboard input.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace e2e {

class DialogDriver {
  public:
    explicit DialogDriver(HWND dialog) : dialog_(dialog) {}

    HWND Window() const { return dialog_; }
    HWND Control(int id) const { return GetDlgItem(dialog_, id); }
    bool Visible() const { return IsWindowVisible(dialog_) != 0; }
    bool Checked(int id) const;
    bool Enabled(int id) const { return IsWindowEnabled(Control(id)) != 0; }
    std::wstring Text(int id) const;
    std::wstring Title() const;

    // A real left click on the control: on the box of a check box, in the middle otherwise.
    // The dialog becomes the foreground window on the way.
    void Click(int id) const;
    // Clicks the check box, waits until its state has flipped and the dialog has handled the
    // click.
    bool Toggle(int id) const;
    // Returns once the dialog has handled what was sent to it before.
    void Settle() const;
    // Returns once the dialog's thread has taken from its queue a message posted now: what was
    // posted to it before has been handled (input, lower in rank, may still wait). False when
    // the program does not get that far in time.
    bool CatchUp(DWORD timeoutMs = 5000) const;

    int SliderPosition() const;
    // Moves the slider as a drag would end: position, then the scroll notice to the dialog.
    void DragSliderTo(int position) const;
    int CountdownPosition() const;
    int CountdownMaximum() const;
    // Returns once a whole tick of the engine has run after the call. The engine writes the
    // remaining whole seconds to the countdown bar on every tick, so this needs at least a
    // second of idle time left; false when no tick writes one in time.
    bool WaitForWholeTick(DWORD timeoutMs = 5000) const;

    // Opens "More options" with a click and picks the item at `index` (separators not
    // counted) with keys posted to the menu. False when the menu did not open.
    bool ChooseMoreOption(int index) const;

    // Brings the dialog to the front with a click on a neutral spot of its client area.
    void Activate() const;

  private:
    HWND dialog_;
};

// The first top-level window of class "#32768" (a popup menu) that is visible.
HWND FindOpenMenu();

// The menu a click opens, or null. Under Wine a real click now and then goes nowhere, more
// often on a loaded machine, while one that lands opens its menu within moments: clicks up to
// three times, waiting 2.5 s after each.
HWND OpenMenuWith(const std::function<void()>& click);

// Keys posted to an open menu, in order: its own loop takes them as it takes real ones, and
// none can go astray on a loaded machine.
void PressKeysInMenu(HWND menu, const std::vector<WPARAM>& keys);

}  // namespace e2e
