// What a click on the notification-area icon does: the left button shows or hides the
// settings dialog, the right button opens the tray menu.
#pragma once
#include <windows.h>

#include "resource_ids.h"

// The tray menu's commands. They are the menu's own, apart from Exit, which is the dialog's
// command: Disable and Hide desktop icons permanently send the dialog its check boxes'
// commands (IDC_DISABLE, IDC_DISABLE_PERMANENTLY) instead.
inline constexpr UINT kTrayHideIconsPermanently = 1;
inline constexpr UINT kTrayPreferences = 2;
inline constexpr UINT kTrayToTray = 3;
inline constexpr UINT kTrayShowEverything = 22;
inline constexpr UINT kTrayHideEverything = 33;
inline constexpr UINT kTrayDisable = 11111;
inline constexpr UINT kTrayExit = IDM_EXIT;

// What the menu shows besides its texts, read when it opens.
struct TrayMenuState {
    bool disabled = false;         // m_disable
    bool shellHidesIcons = false;  // the shell's own setting, not the program's
    bool dialogHidden = false;
    // Disabled under a modal window, or by a step of its own.
    bool dialogBusy = false;
};

// The menu: the program's name and version greyed at the top, then Disable, Hide desktop
// icons permanently, To-Tray, Preferences, Exit, Show everything, Hide everything. The caller
// destroys it. Disable and Hide desktop icons permanently flip the dialog's check boxes: they
// are greyed while the dialog is busy, as the boxes themselves are.
HMENU BuildTrayMenu(const TrayMenuState& state);

// `mouseMessage` is WM_LBUTTONDOWN or WM_RBUTTONDOWN; `dialog` is the settings dialog, which
// carries out every option the menu changes.
void TrayIconClicked(UINT mouseMessage, HWND dialog);

// What an event of the icon asks for: the left button's toggle of the dialog, or the menu
// (opened by the mouse, or by the keyboard, which gets its place back when the menu closes).
enum class TrayAction { kNone, kToggleDialog, kMenuAt, kKeyboardMenu };

// The icon's events as the newer protocols report them. A click comes as its button messages
// (the program acts on the press) followed by NIN_SELECT (left) or WM_CONTEXTMENU (right),
// which only repeat it; from the keyboard (Win+B, arrows) Enter or Space brings NIN_KEYSELECT
// or NIN_SELECT, Shift+F10 or the menu key WM_CONTEXTMENU, alone.
class TrayEventFilter {
  public:
    // `time` in milliseconds, for telling a repeated report from a second press; `place`, the
    // point version 4 hands over with the event (none with the older protocols).
    TrayAction Classify(UINT event, DWORD time, const POINT* place = nullptr);
    // Where the keyboard last selected the icon: version 4 gives the icon's place with
    // NIN_KEYSELECT and NIN_SELECT, but not with WM_CONTEXTMENU. Forgotten once the mouse
    // is used on the icon. Null when unknown.
    const POINT* KeyboardPlace() const { return hasKeyboardPlace_ ? &keyboardPlace_ : nullptr; }

  private:
    static constexpr DWORD kRepeatedKeySelectMs = 300;
    TrayAction KeySelect(DWORD time, const POINT* place);

    bool leftClickPending_ = false;
    bool rightClickPending_ = false;
    bool keySelected_ = false;
    DWORD lastKeySelect_ = 0;
    bool hasKeyboardPlace_ = false;
    POINT keyboardPlace_ = {};
};

// Where a menu opened from the keyboard goes: where the keyboard selected the icon, else the
// middle of the icon's rectangle, else the cursor.
POINT KeyboardMenuPlace(const POINT* keyboardPlace, const RECT* iconRect, POINT cursor);

// The shell's callback message for the icon: the event in the low word of `lParam` (all of
// `lParam` with the oldest protocol); with version 4 the icon's id in the high word and, for
// the events that define it, a point in `wParam`.
void OnTrayCallback(WPARAM wParam, LPARAM lParam, HWND dialog);

// Carries out `action`; a menu opens at `where`. Nothing while a menu of the program is open.
void RunTrayAction(TrayAction action, POINT where, HWND dialog);

// Shows `dialog` at the top of the z-order (not topmost) and makes the window that takes its
// input the foreground window: the dialog, or the modal window open over it.
void ShowAndActivateDialog(HWND dialog);

// SetForegroundWindow from a background process: the system grants it to a process that has
// just had keyboard input, so an Alt press and release frame the call, unless the user holds
// Alt already.
void ForceForeground(HWND window);
