// What a click on the notification-area icon does: the left button shows or hides the
// settings dialog, the right button opens the tray menu.
#pragma once
#include <windows.h>

// Tray menu commands; 1042, 1014 and 32790 are the dialog's own, the rest the menu's.
inline constexpr UINT kTrayHideIconsPermanently = 1;
inline constexpr UINT kTrayPreferences = 2;
inline constexpr UINT kTrayToTray = 3;
inline constexpr UINT kTrayShowEverything = 22;
inline constexpr UINT kTrayHideEverything = 33;
inline constexpr UINT kTrayDisable = 11111;

// What the menu shows besides its texts, read when it opens.
struct TrayMenuState {
    bool disabled = false;         // m_disable
    bool shellHidesIcons = false;  // the shell's own setting, not the program's
    bool dialogHidden = false;
};

// The menu: the program's name and version greyed at the top, then Disable, Hide desktop
// icons permanently, To-Tray, Preferences, Exit, Show everything, Hide everything. The caller
// destroys it.
HMENU BuildTrayMenu(const TrayMenuState& state);

// `mouseMessage` is WM_LBUTTONDOWN or WM_RBUTTONDOWN; `dialog` is the settings dialog, which
// carries out every option the menu changes. Nothing happens while the dialog is disabled.
void TrayIconClicked(UINT mouseMessage, HWND dialog);

// What an event of the icon asks for: the left button's toggle of the dialog, or the menu.
enum class TrayAction { kNone, kToggleDialog, kMenuAt };

// The icon's events as the newer protocols report them. A click comes as its button messages
// (the program acts on the press) followed by NIN_SELECT (left) or WM_CONTEXTMENU (right),
// which only repeat it; from the keyboard (Win+B, arrows) Enter or Space brings NIN_KEYSELECT
// or NIN_SELECT, Shift+F10 or the menu key WM_CONTEXTMENU, alone.
class TrayEventFilter {
  public:
    // `time` in milliseconds, for telling a repeated report from a second press.
    TrayAction Classify(UINT event, DWORD time);

  private:
    static constexpr DWORD kRepeatedKeySelectMs = 300;
    TrayAction KeySelect(DWORD time);

    bool leftClickPending_ = false;
    bool rightClickPending_ = false;
    bool keySelected_ = false;
    DWORD lastKeySelect_ = 0;
};

// The shell's callback message for the icon: the event in the low word of `lParam` (all of
// `lParam` with the oldest protocol); with version 4 the icon's id in the high word and the
// icon's place in `wParam`, where a menu opened from the keyboard opens.
void OnTrayCallback(WPARAM wParam, LPARAM lParam, HWND dialog);

// Carries out `action`; a menu opens at `where`. Nothing while the dialog is disabled.
void RunTrayAction(TrayAction action, POINT where, HWND dialog);

// Shows `dialog` at the top of the z-order (not topmost) and makes it the foreground window.
void ShowAndActivateDialog(HWND dialog);

// SetForegroundWindow from a background process: the system grants it to a process that has
// just had keyboard input, so an Alt press and release frame the call, unless the user holds
// Alt already.
void ForceForeground(HWND window);
