#include "appearance/menu_bar.h"

#include <commctrl.h>
#include <windowsx.h>

#include <utility>

#include "appearance/background_fill.h"
#include "appearance/menu_background.h"
#include "appearance/menu_font.h"
#include "appearance/menu_navigation.h"
#include "appearance/toolbar.h"
#include "common/failure_note.h"
#include "common/foreign_messages.h"
#include "common/scoped_handle.h"
#include "common/window_dpi.h"
#include "common/window_subclass.h"

namespace {

constexpr int kMenuTextLength = 100;
// WM_MENUCHAR's answer when the bar took the letter: MNC_CLOSE in the high word ends the
// system's own menu mode.
constexpr LRESULT kMenuCharTaken = 0x10001;

// Only one popup is tracked at a time, so the hook and its menu bar are the module's.
MenuBar* trackingMenuBar = nullptr;
HHOOK filterHook = nullptr;

MenuBar* BarOf(DWORD_PTR data) {
    return reinterpret_cast<MenuBar*>(data);
}

void DeleteAllButtons(HWND toolbar) {
    for (LRESULT count = SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0); count > 0; --count) {
        SendMessageW(toolbar, TB_DELETEBUTTON, 0, 0);
    }
}

// The toolbar's own mapping knows only "&" marks, which the pack's texts do not use, so the
// first letter of a button's text counts as well.
bool MapAccelerator(HWND toolbar, wchar_t character, UINT* command) {
    if (SendMessageW(toolbar, TB_MAPACCELERATORW, character, reinterpret_cast<LPARAM>(command)) != 0) {
        return true;
    }
    const int count = static_cast<int>(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        TBBUTTON button = {};
        if (SendMessageW(toolbar, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button)) == 0) {
            continue;
        }
        const LRESULT length = SendMessageW(toolbar, TB_GETBUTTONTEXTW, button.idCommand, 0);
        if (length <= 0 || length >= kMenuTextLength) {
            continue;
        }
        wchar_t text[kMenuTextLength] = L"";
        SendMessageW(toolbar, TB_GETBUTTONTEXTW, button.idCommand, reinterpret_cast<LPARAM>(text));
        if (SameAccelerator(character, ButtonAccelerator(text))) {
            *command = static_cast<UINT>(button.idCommand);
            return true;
        }
    }
    return false;
}

}  // namespace

MenuBar::~MenuBar() {
    if (trackingMenuBar == this) {
        EndTracking();
    }
    if (toolbar_ != nullptr && IsWindow(toolbar_)) {
        DestroyWindow(toolbar_);  // the right-hand toolbar is its child and goes with it
    }
    DetachSubclass(parent_, ParentProc);
    if (menu_ != nullptr) {
        DestroyMenu(menu_);
    }
}

bool MenuBar::Create(HWND parent) {
    if (toolbar_ != nullptr || parent == nullptr) {
        return false;
    }
    toolbar_ = CreateFlatToolbar(parent, 0, kFlatToolbarStyle, 180, buttonHeight);
    if (toolbar_ == nullptr) {
        return false;
    }
    parent_ = parent;
    LayOut();
    AttachSubclass(parent, ParentProc, this);
    AttachSubclass(toolbar_, ToolbarProc, this);
    return true;
}

int MenuBar::AttachMenu(HMENU menu) {
    if (menu_ != nullptr && menu_ != menu) {
        DestroyMenu(menu_);
    }
    menu_ = menu;
    if (toolbar_ == nullptr) {
        menuCount_ = 0;
        return 0;
    }
    // Without redrawing in between, the old buttons give way to the new ones in one paint.
    SendMessageW(toolbar_, WM_SETREDRAW, FALSE, 0);
    DeleteAllButtons(toolbar_);
    const int count = menu != nullptr ? GetMenuItemCount(menu) : 0;
    menuCount_ = count > 0 ? count : 0;
    for (int index = 0; index < menuCount_; ++index) {
        wchar_t text[kMenuTextLength] = L"";
        MENUITEMINFOW item = {};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_STRING | MIIM_DATA;
        item.dwTypeData = text;
        item.cch = kMenuTextLength;
        GetMenuItemInfoW(menu, static_cast<UINT>(index), TRUE, &item);
        AddButton(toolbar_, text, kMenuButtonIdBase + static_cast<UINT>(index));
    }
    SendMessageW(toolbar_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(toolbar_, nullptr, TRUE);
    return 1;
}

// Both toolbars refuse buttons that the bar does not add itself: the gate opens for one
// message at a time.
void MenuBar::AddButton(HWND toolbar, const wchar_t* text, UINT command) {
    TBBUTTON button = {};
    button.idCommand = static_cast<int>(command);
    button.fsState = TBSTATE_ENABLED;
    button.iString = -1;
    allowButtonChange_ = 1;
    const bool added = SendMessageW(toolbar, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button)) != 0;
    if (added) {
        TBBUTTONINFOW info = {};
        info.cbSize = sizeof(info);
        info.dwMask = TBIF_TEXT | TBIF_STYLE;
        info.fsStyle = BTNS_AUTOSIZE;
        info.pszText = const_cast<wchar_t*>(text);
        allowButtonChange_ = 1;
        SendMessageW(toolbar, TB_SETBUTTONINFOW, command, reinterpret_cast<LPARAM>(&info));
    }
    allowButtonChange_ = 0;  // the right-hand toolbar lets everything through and never closes it
}

void MenuBar::CreateRightToolbar() {
    rightToolbar_ = CreateFlatToolbar(toolbar_, WS_EX_TRANSPARENT, kFlatToolbarStyle, 180, 20);
    if (rightToolbar_ == nullptr) {
        return;
    }
    SizeButtons(rightToolbar_, 0);
    AttachSubclass(rightToolbar_, RightToolbarProc, this);
}

// Both rows of buttons are as tall as the bar's own (invisible) bitmaps, so their texts line
// up at any dpi.
void MenuBar::SizeButtons(HWND toolbar, int bitmapWidth) const {
    SendMessageW(toolbar, WM_SETFONT,
                 reinterpret_cast<WPARAM>(font != nullptr ? font : MenuFontAt(DpiOfWindow(parent_)).plain), FALSE);
    const int height = bitmapHeight > 0 ? bitmapHeight : GetSystemMetrics(SM_CYSMICON);
    SendMessageW(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(bitmapWidth, height));
    SendMessageW(toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(buttonHeight, buttonHeight));
}

void MenuBar::LayOut() {
    if (toolbar_ == nullptr) {
        return;
    }
    SizeButtons(toolbar_, 1);
    RECT client = {};
    GetClientRect(parent_, &client);
    SetWindowPos(toolbar_, nullptr, 0, top, client.right, static_cast<int>(buttonHeight * 1.5), SWP_SHOWWINDOW);
    if (rightToolbar_ != nullptr) {
        SizeButtons(rightToolbar_, 0);
        AlignRightToolbar();
    }
}

void MenuBar::AlignRightToolbar() {
    const LRESULT count = SendMessageW(rightToolbar_, TB_BUTTONCOUNT, 0, 0);
    RECT last = {};
    if (count > 0) {
        SendMessageW(rightToolbar_, TB_GETITEMRECT, static_cast<WPARAM>(count - 1), reinterpret_cast<LPARAM>(&last));
    }
    RECT bar = {};
    GetClientRect(toolbar_, &bar);
    SetWindowPos(rightToolbar_, nullptr, bar.right - last.right, bar.top, last.right, bar.bottom - bar.top,
                 SWP_SHOWWINDOW);
}

void MenuBar::AddRightButtons(const RightButton* buttons, int count) {
    if (toolbar_ == nullptr) {
        return;
    }
    if (rightToolbar_ == nullptr) {
        CreateRightToolbar();
        if (rightToolbar_ == nullptr) {
            return;
        }
    }
    // Laid out once for all of them: each layout moves and shows the toolbar, and under Wine
    // that is a round of messages and server calls every time.
    for (int i = 0; i < count; ++i) {
        if (buttons[i].command != 0) {
            AddButton(rightToolbar_, buttons[i].text, buttons[i].command);
        }
    }
    AlignRightToolbar();
}

void MenuBar::AddRightButton(const wchar_t* text, UINT command) {
    const RightButton button = {text, command};
    AddRightButtons(&button, 1);
}

void MenuBar::ClearRightButtons() {
    if (rightToolbar_ == nullptr) {
        return;
    }
    for (LRESULT index = SendMessageW(rightToolbar_, TB_BUTTONCOUNT, 0, 0) - 1; index >= 0; --index) {
        SendMessageW(rightToolbar_, TB_DELETEBUTTON, static_cast<WPARAM>(index), 0);
    }
}

LRESULT MenuBar::OnParentMessage(UINT message, WPARAM wParam, LPARAM) {
    // Only Alt+letter on the dialog itself, which the system reports for the window menu. A
    // letter typed into one of the dialog's own popups (the tray menu is the dialog's too) is
    // that popup's business: "e" there must not press "# Exit".
    if (message == WM_MENUCHAR && (HIWORD(wParam) & MF_SYSMENU) != 0) {
        return OnMenuChar(static_cast<wchar_t>(LOWORD(wParam)));
    }
    return 0;
}

LRESULT MenuBar::OnMenuChar(wchar_t character) {
    UINT command = 0;
    if (toolbar_ != nullptr && MapAccelerator(toolbar_, character, &command) && command >= kMenuButtonIdBase) {
        hotIndex_ = static_cast<int>(command - kMenuButtonIdBase);
        PostOpenHotPopup(true);  // once the system's own menu mode has ended
        return kMenuCharTaken;
    }
    if (rightToolbar_ != nullptr && MapAccelerator(rightToolbar_, character, &command)) {
        PostMessageW(parent_, WM_COMMAND, LOWORD(command), 0);
        return kMenuCharTaken;
    }
    return 0;
}

LRESULT MenuBar::OnToolbarMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITMENUPOPUP:
        case WM_ENTERMENULOOP:
        case WM_EXITMENULOOP:
            SendMessageW(parent_, message, wParam, lParam);
            return 0;
        case WM_MENUSELECT:
            // The menu loop sends this to the popup's owner rather than through the message
            // filter, so this is where the highlighted item becomes known.
            selectedItemFlags_ = HIWORD(wParam) == 0xFFFF ? 0 : HIWORD(wParam);
            SendMessageW(parent_, message, wParam, lParam);
            return 1;
        case WM_LBUTTONDOWN: {
            const POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            const int index = static_cast<int>(SendMessageW(toolbar_, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&at)));
            if (index >= 0 && index < menuCount_) {
                hotIndex_ = index;
                OpenHotPopup();
            }
            return 1;
        }
        case WM_COMMAND:
            // A right-hand button's command runs after the button's own click handling has
            // finished: it may well rebuild that very toolbar (a new language).
            if (rightToolbar_ != nullptr && reinterpret_cast<HWND>(lParam) == rightToolbar_) {
                PostMessageW(parent_, WM_COMMAND, LOWORD(wParam), 0);
                return 1;
            }
            return 0;
        case WM_NOTIFY: {
            // The right-hand buttons are the dialog's to colour (dark mode draws them through
            // custom draw) and to explain in tool tips ("Velmora-FAQ"), as if they were its own.
            // ToolbarProc lets only the dialog's own notices in.
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (rightToolbar_ != nullptr && header != nullptr &&
                (header->hwndFrom == rightToolbar_ ||
                 (header->code == TTN_GETDISPINFOW && header->idFrom < kMenuButtonIdBase))) {
                return SendMessageW(parent_, WM_NOTIFY, header->idFrom, lParam);
            }
            return 0;
        }
        case TB_ADDBUTTONSW:
        case TB_SETBUTTONINFOW:
            if (allowButtonChange_ == 1) {
                allowButtonChange_ = 0;
                return 0;
            }
            return 1;
        case kMsgOpenHotPopup:
            hotIndex_ = WrapMenuIndex(hotIndex_, menuCount_);
            OpenHotPopup();
            return 1;
        default:
            return 0;
    }
}

void MenuBar::PostOpenHotPopup(bool lightFirstItem) {
    lightFirstItem_ = lightFirstItem;
    PostMessageW(toolbar_, kMsgOpenHotPopup, 0, 0);
}

void MenuBar::OpenHotPopup() {
    const bool lightFirstItem = std::exchange(lightFirstItem_, false);
    if (menu_ == nullptr || trackingMenuBar != nullptr) {
        return;
    }
    SetMenuBackground(menu_);
    if (!IsWindowVisible(parent_) || GetActiveWindow() != parent_) {
        return;
    }
    HMENU popup = GetSubMenu(menu_, hotIndex_);
    if (popup == nullptr) {
        return;
    }
    const UINT button = kMenuButtonIdBase + static_cast<UINT>(hotIndex_);
    SendMessageW(toolbar_, TB_PRESSBUTTON, button, TRUE);
    TPMPARAMS params = {};
    params.cbSize = sizeof(params);
    SendMessageW(toolbar_, TB_GETITEMRECT, static_cast<WPARAM>(hotIndex_), reinterpret_cast<LPARAM>(&params.rcExclude));
    MapWindowPoints(toolbar_, nullptr, reinterpret_cast<POINT*>(&params.rcExclude), 2);
    BeginTracking(false);
    // A key for the popup's own loop to take. Posted from the message filter instead, it
    // would be taken out of the queue in place of the arrow key that closed the last popup.
    if (lightFirstItem) {
        PostMessageW(toolbar_, WM_KEYDOWN, VK_DOWN, 0);
    }
    // Active is not always foreground: a popup of a dialog that was clicked while in the
    // background can open behind it.
    SetForegroundWindow(parent_);
    popupPlace_ = POINT{params.rcExclude.left, params.rcExclude.bottom};
    const UINT command = static_cast<UINT>(TrackPopupMenuEx(popup, TPM_RETURNCMD | TPM_VERTICAL, params.rcExclude.left,
                                                            params.rcExclude.bottom, toolbar_, &params));
    // The arrow keys and the mouse may have moved on to another menu meanwhile; this button is
    // released all the same.
    SendMessageW(toolbar_, TB_PRESSBUTTON, button, FALSE);
    EndTracking();
    // The hook is gone before the command runs: a command may open menus of its own.
    if (command != 0) {
        SendMessageW(toolbar_, WM_COMMAND, command, kMenuBarCommandMarker);
    }
}

void MenuBar::BeginTracking(bool foreign) {
    trackingMenuBar = this;
    foreignPopup_ = foreign;
    filterHook = SetWindowsHookExW(WH_MSGFILTER, MessageFilter, nullptr, GetCurrentThreadId());
    // Without the hook the popup opens all the same; it just cannot hand over to the next one.
    if (filterHook == nullptr) {
        NoteFailure(L"SetWindowsHookEx (menu bar)");
    }
}

void MenuBar::EndTracking() {
    if (filterHook != nullptr) {
        UnhookWindowsHookEx(filterHook);
        filterHook = nullptr;
    }
    trackingMenuBar = nullptr;
    foreignPopup_ = false;
}

UINT MenuBar::TrackForeignPopup(HMENU menu, int x, int y, UINT flags) {
    if (trackingMenuBar != nullptr) {
        return 0;
    }
    SetMenuBackground(menu);
    BeginTracking(true);
    popupPlace_ = POINT{x, y};
    HWND owner = toolbar_ != nullptr ? toolbar_ : parent_;
    const UINT result = static_cast<UINT>(TrackPopupMenuEx(menu, flags, x, y, owner, nullptr));
    foreignPopup_ = false;
    if (toolbar_ != nullptr) {
        SendMessageW(toolbar_, TB_PRESSBUTTON, kMenuButtonIdBase + static_cast<UINT>(hotIndex_), FALSE);
    }
    EndTracking();
    return result;
}

UINT MenuBar::TrackPopupUnderRightButton(HMENU menu, UINT command, UINT flags) {
    POINT at = {};
    GetCursorPos(&at);  // where the menu opens should the button be missing
    bool pressed = false;
    const LRESULT index =
        rightToolbar_ != nullptr ? SendMessageW(rightToolbar_, TB_COMMANDTOINDEX, command, 0) : LRESULT{-1};
    RECT button = {};
    if (index >= 0 &&
        SendMessageW(rightToolbar_, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button))) {
        at = POINT{button.left, button.bottom};
        ClientToScreen(rightToolbar_, &at);
        pressed = SendMessageW(rightToolbar_, TB_PRESSBUTTON, command, TRUE) != 0;
    }
    // The owner must be the foreground window, or the menu stays open after a click elsewhere.
    if (parent_ != nullptr) {
        SetForegroundWindow(parent_);
    }
    const UINT choice = TrackForeignPopup(menu, at.x, at.y, flags);
    if (pressed) {
        SendMessageW(rightToolbar_, TB_PRESSBUTTON, command, FALSE);
    }
    return choice;
}

bool MenuBar::IsTrackingPopup() {
    return trackingMenuBar != nullptr;
}

LRESULT CALLBACK MenuBar::MessageFilter(int code, WPARAM wParam, LPARAM lParam) {
    if (code == MSGF_MENU && trackingMenuBar != nullptr && lParam != 0 &&
        trackingMenuBar->FilterMenuLoopMessage(*reinterpret_cast<const MSG*>(lParam))) {
        return 1;
    }
    return CallNextHookEx(filterHook, code, wParam, lParam);
}

// True when the bar handled the message and the menu must not see it.
bool MenuBar::FilterMenuLoopMessage(const MSG& message) {
    switch (message.message) {
        case WM_KEYDOWN: {
            const MenuKeyAction action = MenuKeyActionFor(message.wParam, foreignPopup_, selectedItemFlags_);
            if (message.wParam == VK_RIGHT && !foreignPopup_) {
                selectedItemFlags_ = 0;
            }
            switch (action) {
                case MenuKeyAction::kPreviousMenu:
                    MoveToMenu(hotIndex_ - 1);
                    return true;
                case MenuKeyAction::kNextMenu:
                    MoveToMenu(hotIndex_ + 1);
                    return true;
                case MenuKeyAction::kClose:
                    PostMessageW(toolbar_, WM_CANCELMODE, 0, 0);
                    return true;
                case MenuKeyAction::kLeaveToMenu:
                    return false;
            }
            return false;
        }
        case WM_MENUSELECT:
            SendMessageW(parent_, WM_MENUSELECT, message.wParam, message.lParam);
            selectedItemFlags_ = HIWORD(message.wParam);
            return true;
        case WM_MOUSEMOVE: {
            if (foreignPopup_) {
                return false;
            }
            POINT at = message.pt;
            ScreenToClient(toolbar_, &at);
            if (at.x == lastMouse_.x && at.y == lastMouse_.y) {
                return true;
            }
            lastMouse_ = at;
            const int index = HitTest(message.pt);
            if (index < 0 || index >= menuCount_ || index == hotIndex_) {
                return false;
            }
            SendMessageW(toolbar_, TB_PRESSBUTTON, kMenuButtonIdBase + static_cast<UINT>(hotIndex_), FALSE);
            SendMessageW(toolbar_, WM_CANCELMODE, 0, 0);
            hotIndex_ = index;
            PostOpenHotPopup(false);
            return true;
        }
        case WM_LBUTTONDOWN:
            if (HitTest(message.pt) == hotIndex_) {
                PostMessageW(toolbar_, WM_CANCELMODE, 0, 0);  // a click on the open menu's button closes it
                return true;
            }
            return false;
        default:
            return false;
    }
}

// The order matters: the menu loop ends on the cancel before the next popup's request comes
// out of the queue.
void MenuBar::MoveToMenu(int index) {
    SendMessageW(toolbar_, TB_PRESSBUTTON, kMenuButtonIdBase + static_cast<UINT>(hotIndex_), FALSE);
    hotIndex_ = index;
    PostMessageW(toolbar_, WM_CANCELMODE, 0, 0);
    PostOpenHotPopup(true);
}

int MenuBar::HitTest(POINT screenPoint) const {
    ScreenToClient(toolbar_, &screenPoint);
    return static_cast<int>(SendMessageW(toolbar_, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&screenPoint)));
}

LRESULT CALLBACK MenuBar::ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR data) {
    MenuBar* bar = BarOf(data);
    if (message == WM_NCDESTROY) {
        bar->parent_ = nullptr;
    } else if (LRESULT answer = bar->OnParentMessage(message, wParam, lParam)) {
        return answer;
    }
    return PassToWindow(window, message, wParam, lParam, ParentProc);
}

LRESULT CALLBACK MenuBar::ToolbarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR data) {
    MenuBar* bar = BarOf(data);
    if (IsForeignNotification(window, message, lParam)) {
        return 0;
    }
    if (message == WM_NCDESTROY) {
        bar->toolbar_ = nullptr;
        bar->menuCount_ = 0;
    } else if (LRESULT answer = bar->OnToolbarMessage(message, wParam, lParam)) {
        return answer;
    }
    return PassToWindow(window, message, wParam, lParam, ToolbarProc);
}

// The right-hand toolbar sits on the menu bar but shows the dialog's background: the dialog
// paints it, shifted to where the toolbar lies in it.
LRESULT CALLBACK MenuBar::RightToolbarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR data) {
    if (IsForeignNotification(window, message, lParam)) {
        return 0;
    }
    if (message == WM_ERASEBKGND && GetParent(GetParent(window)) != nullptr) {
        return EraseWithGrandparent(window, reinterpret_cast<HDC>(wParam));
    }
    if (message == WM_NCDESTROY) {
        BarOf(data)->rightToolbar_ = nullptr;
    }
    return PassToWindow(window, message, wParam, lParam, RightToolbarProc);
}
