#include "tray/tray_menu.h"

#include <windowsx.h>

#include <utility>

#include "common/input_window.h"
#include "common/scoped_handle.h"
#include "desktop/desktop_windows.h"
#include "desktop/taskbar.h"
#include "lang/language_pack.h"
#include "lang/text_ids.h"
#include "resource_ids.h"
#include "settings/settings.h"
#include "tray/tray_icon.h"

namespace {

struct TrayMenuEntry {
    UINT command;  // 0: a separator, which has no text
    TextId text;
};
constexpr TrayMenuEntry kSeparator = {};

constexpr TrayMenuEntry kEntries[] = {
    kSeparator,
    {kTrayDisable, kTextDisable},
    {kTrayHideIconsPermanently, kTextHideDesktopIconsPermanently},
    {kTrayToTray, kTextToTray},
    {kTrayPreferences, kTextPreferences},
    kSeparator,
    {kTrayExit, kTextExit},
    kSeparator,
    {kTrayShowEverything, kTextShowEverything},
    {kTrayHideEverything, kTextHideEverything},
};

bool EntryChecked(const TrayMenuState& state, UINT command) {
    switch (command) {
        case kTrayDisable:
            return state.disabled;
        case kTrayHideIconsPermanently:
            return state.shellHidesIcons;
        case kTrayToTray:
            return state.dialogHidden;
        default:
            return false;
    }
}

// The dialog stays the one place where options change and are saved: the menu flips the
// dialog's check box and sends the command the box itself would send.
void FlipDialogOption(HWND dialog, int checkBox, int current) {
    SendDlgItemMessageW(dialog, checkBox, BM_SETCHECK, current == 0 ? BST_CHECKED : BST_UNCHECKED, 0);
    SendMessageW(dialog, WM_COMMAND, static_cast<WPARAM>(checkBox), 0);
}

// A busy dialog is never hidden: a modal window over it would stay on the screen alone.
void ToggleDialog(HWND dialog) {
    if (IsWindowVisible(dialog) && IsWindowEnabled(dialog)) {
        ShowWindow(dialog, SW_HIDE);
    } else {
        ShowAndActivateDialog(dialog);
    }
}

// Returns whether the keyboard went elsewhere: to the dialog brought forward, or nowhere, as
// the program ends.
bool RunTrayCommand(UINT command, HWND dialog) {
    switch (command) {
        case kTrayHideIconsPermanently:
            FlipDialogOption(dialog, IDC_DISABLE_PERMANENTLY, settings.disable_permanently);
            return false;
        case kTrayDisable:
            FlipDialogOption(dialog, IDC_DISABLE, settings.m_disable);
            return false;
        case kTrayShowEverything:
            ShowEverything();
            return false;
        case kTrayHideEverything:
            HideEverything();
            return false;
        case kTrayExit:
            CancelModalWindows(dialog);
            SendMessageW(dialog, WM_COMMAND, IDM_EXIT, 0);
            return true;
        case kTrayPreferences:
            ShowAndActivateDialog(dialog);
            return true;
        case kTrayToTray:
            ToggleDialog(dialog);
            return IsWindowVisible(dialog) != 0;
        default:
            return false;  // dismissed
    }
}

// Set while the tray menu is up: its loop dispatches the icon's next callbacks.
bool trayMenuOpen = false;

// Any menu of this thread's: the tray menu, the menu bar's, a window menu.
bool MenuOpen() {
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof(thread);
    return trayMenuOpen || (GetGUIThreadInfo(GetCurrentThreadId(), &thread) &&
                            (thread.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE | GUI_SYSTEMMENUMODE)) != 0);
}

void ShowTrayMenu(HWND dialog, POINT where, bool fromKeyboard) {
    TrayMenuState state;
    state.disabled = settings.m_disable != 0;
    state.shellHidesIcons = ShellHidesIcons();
    state.dialogHidden = !IsWindowVisible(dialog);
    state.dialogBusy = !IsWindowEnabled(dialog);
    ScopedMenu menu(BuildTrayMenu(state));
    // The owner must be the foreground window, or the menu stays open when the user clicks
    // elsewhere; with a modal window open, that one, which gets the keyboard back afterwards.
    HWND owner = InputWindow(dialog);
    SetForegroundWindow(owner);
    trayMenuOpen = true;
    auto command = static_cast<UINT>(TrackPopupMenu(menu.Get(), TPM_RETURNCMD, where.x, where.y, 0, owner, nullptr));
    trayMenuOpen = false;
    // Without a message after the menu, its next opening from the tray can close at once.
    PostMessageW(owner, WM_NULL, 0, 0);
    // A keyboard user who dismissed the menu, or chose what opens no window, carries on in
    // the notification area where they were.
    if (!RunTrayCommand(command, dialog) && fromKeyboard) {
        ReturnFocusToTrayIcon();
    }
}

}  // namespace

HMENU BuildTrayMenu(const TrayMenuState& state) {
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr) {
        return nullptr;
    }
    const wchar_t* name = GetHeaderText(kHeaderProductAndVersion);
    AppendMenuW(menu, MF_STRING | MF_GRAYED, 0, name != nullptr ? name : L"");
    for (const TrayMenuEntry& entry : kEntries) {
        if (entry.command == 0) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT check = EntryChecked(state, entry.command) ? MF_CHECKED : MF_UNCHECKED;
        const bool flipsABox = entry.command == kTrayDisable || entry.command == kTrayHideIconsPermanently;
        UINT grey = flipsABox && state.dialogBusy ? MF_GRAYED : MF_ENABLED;
        AppendMenuW(menu, MF_STRING | check | grey, entry.command, GetText(entry.text));
    }
    return menu;
}

void TrayIconClicked(UINT mouseMessage, HWND dialog) {
    POINT cursor = {};
    GetCursorPos(&cursor);
    RunTrayAction(mouseMessage == WM_LBUTTONDOWN ? TrayAction::kToggleDialog : TrayAction::kMenuAt, cursor, dialog);
}

TrayAction TrayEventFilter::Classify(UINT event, DWORD time, const POINT* place) {
    switch (event) {
        case WM_LBUTTONDOWN:
            leftClickPending_ = true;
            hasKeyboardPlace_ = false;  // the icon may have been dragged since
            return TrayAction::kToggleDialog;
        case WM_LBUTTONDBLCLK:
            leftClickPending_ = true;  // its NIN_SELECT repeats the click, which did its work
            return TrayAction::kNone;
        case WM_RBUTTONDOWN:
            rightClickPending_ = true;
            hasKeyboardPlace_ = false;
            return TrayAction::kMenuAt;
        case WM_RBUTTONDBLCLK:
            rightClickPending_ = true;
            return TrayAction::kNone;
        case NIN_SELECT:
            if (std::exchange(leftClickPending_, false)) {
                return TrayAction::kNone;
            }
            return KeySelect(time, place);
        case NIN_KEYSELECT:
            return KeySelect(time, place);
        case WM_CONTEXTMENU:
            if (std::exchange(rightClickPending_, false)) {
                return TrayAction::kNone;
            }
            return TrayAction::kKeyboardMenu;
        default:
            return TrayAction::kNone;
    }
}

// Some shells report one press of Space or Enter twice; a second toggle would undo the first.
TrayAction TrayEventFilter::KeySelect(DWORD time, const POINT* place) {
    if (place != nullptr) {
        hasKeyboardPlace_ = true;
        keyboardPlace_ = *place;
    }
    if (keySelected_ && time - lastKeySelect_ < kRepeatedKeySelectMs) {
        return TrayAction::kNone;
    }
    keySelected_ = true;
    lastKeySelect_ = time;
    return TrayAction::kToggleDialog;
}

POINT KeyboardMenuPlace(const POINT* keyboardPlace, const RECT* iconRect, POINT cursor) {
    if (keyboardPlace != nullptr) {
        return *keyboardPlace;
    }
    if (iconRect != nullptr) {
        return POINT{iconRect->left + (iconRect->right - iconRect->left) / 2,
                     iconRect->top + (iconRect->bottom - iconRect->top) / 2};
    }
    return cursor;
}

void OnTrayCallback(WPARAM wParam, LPARAM lParam, HWND dialog) {
    static TrayEventFilter filter;
    const UINT event = LOWORD(lParam);
    // Version 4 puts the icon's id in the high word and a point in wParam; the older
    // protocols put the id in wParam.
    const bool version4 = HIWORD(lParam) == kTrayIconId;
    const POINT point = {GET_X_LPARAM(wParam), GET_Y_LPARAM(wParam)};
    const TrayAction action = filter.Classify(event, GetTickCount(), version4 ? &point : nullptr);
    POINT where = {};
    GetCursorPos(&where);
    if (action == TrayAction::kKeyboardMenu) {
        // WM_CONTEXTMENU's wParam is not defined: the place comes from the keyboard's last
        // selection or from the shell.
        RECT iconRect = {};
        const bool haveRect = filter.KeyboardPlace() == nullptr && TrayIconRect(&iconRect);
        where = KeyboardMenuPlace(filter.KeyboardPlace(), haveRect ? &iconRect : nullptr, where);
    }
    RunTrayAction(action, where, dialog);
}

void RunTrayAction(TrayAction action, POINT where, HWND dialog) {
    // A menu's loop hands on the callbacks that a held menu key or a flaky touch screen keeps
    // sending: one more menu on top of it each time, unless they are left alone.
    if (action == TrayAction::kNone || dialog == nullptr || MenuOpen()) {
        return;
    }
    if (action == TrayAction::kToggleDialog) {
        ToggleDialog(dialog);
        return;
    }
    ShowTrayMenu(dialog, where, action == TrayAction::kKeyboardMenu);
}

void ShowAndActivateDialog(HWND dialog) {
    // Disabled with no window over it, the dialog waits for a step of the program's own (the
    // ZIP folder moving the program's copy): there is nothing to bring forward, and nothing
    // may start inside that wait.
    HWND input = InputWindow(dialog);
    if (!IsWindowEnabled(input)) {
        return;
    }
    ShowWindow(dialog, SW_SHOW);
    // Topmost and back lifts the dialog above every window, also other topmost ones, and
    // leaves it an ordinary window on top.
    constexpr UINT kKeepPlace = SWP_NOMOVE | SWP_NOSIZE;
    SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, kKeepPlace);
    SetWindowPos(dialog, HWND_NOTOPMOST, 0, 0, 0, 0, kKeepPlace);
    SetWindowPos(dialog, HWND_TOP, 0, 0, 0, 0, kKeepPlace);
    if (input != dialog) {
        SetWindowPos(input, HWND_TOP, 0, 0, 0, 0, kKeepPlace);
    }
    ForceForeground(input);
}

void ForceForeground(HWND window) {
    if (!IsWindow(window)) {
        return;
    }
    // Only a background process needs the keys. With the foreground ours already (the tray
    // menu makes its owner foreground), press and release would both reach our own window,
    // and Alt tapped there puts the dialog into menu mode. The release goes with our own
    // press only: a user who really holds Alt gets neither.
    DWORD foregroundProcess = 0;
    GetWindowThreadProcessId(GetForegroundWindow(), &foregroundProcess);
    BYTE keys[256] = {};
    bool press =
        foregroundProcess != GetCurrentProcessId() && GetKeyboardState(keys) != 0 && (keys[VK_MENU] & 0x80) == 0;
    if (press) {
        keybd_event(VK_MENU, 0, KEYEVENTF_EXTENDEDKEY, 0);
    }
    SetForegroundWindow(window);
    if (press) {
        keybd_event(VK_MENU, 0, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP, 0);
    }
}
