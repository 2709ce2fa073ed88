// The settings dialog's menu bar: a toolbar that acts as a menu bar, one button per item of
// an attached menu, with popups under the pressed button, and buttons on the right-hand side
// that send a command directly. The owner-drawn variant derives from it.
#pragma once
#include <windows.h>

// The button of top-level menu i has command kMenuButtonIdBase + i.
inline constexpr UINT kMenuButtonIdBase = 40000;
// Posted to the bar's toolbar: open the popup of the hot button. In the application's range:
// WM_USER and up belong to the toolbar class's own messages.
inline constexpr UINT kMsgOpenHotPopup = WM_APP + 2;
// lParam of the WM_COMMAND that reports a command chosen from one of the bar's popups.
inline constexpr LPARAM kMenuBarCommandMarker = static_cast<LPARAM>(0xAFFE0000u);

class MenuBar {
  public:
    MenuBar() = default;
    MenuBar(const MenuBar&) = delete;
    MenuBar& operator=(const MenuBar&) = delete;

    // Messages of the parent and of the bar's toolbar, seen before their own procedures. A
    // non-zero answer is the message's result; zero passes the message on.
    virtual LRESULT OnParentMessage(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnToolbarMessage(UINT message, WPARAM wParam, LPARAM lParam);
    virtual ~MenuBar();

    // Where the bar goes in its parent's client area, the height of its buttons and of their
    // (invisible) bitmaps, and their font; set before Create or LayOut. A height of 0 is the
    // small icons' height, a null font the system's menu font.
    int top = 0;
    int buttonHeight = 20;
    int bitmapHeight = 0;
    HFONT font = nullptr;

    // Creates the bar in `parent`, whose commands the bar's menus send. False on failure.
    bool Create(HWND parent);

    // Places and sizes the bar and its buttons anew from the fields above (a new DPI).
    void LayOut();

    // Takes `menu` (owned from now on; the previous one is destroyed) and makes a button of
    // each of its items. 0 when the bar has no toolbar yet (the menu is still taken).
    int AttachMenu(HMENU menu);

    // Buttons at the right-hand end, each sending its command to the parent. Added together,
    // the bar is laid out once.
    struct RightButton {
        const wchar_t* text;
        UINT command;
    };
    void AddRightButtons(const RightButton* buttons, int count);
    void AddRightButton(const wchar_t* text, UINT command);
    void ClearRightButtons();

    // Tracks a popup that is not one of the bar's menus with the bar as its owner, so it is
    // drawn like the bar's own; returns what TrackPopupMenuEx returns.
    UINT TrackForeignPopup(HMENU menu, int x, int y, UINT flags);

    // TrackForeignPopup under the right-hand button of `command` (its bottom left corner),
    // with the button shown pressed while the popup is open.
    UINT TrackPopupUnderRightButton(HMENU menu, UINT command, UINT flags);

    // The bar's window and the right-hand toolbar; null before they exist.
    HWND Window() const { return toolbar_; }
    HWND RightToolbar() const { return rightToolbar_; }

    // Whether a popup is being tracked through a menu bar at this moment.
    static bool IsTrackingPopup();

  private:
    void AddButton(HWND toolbar, const wchar_t* text, UINT command);
    void CreateRightToolbar();
    void SizeButtons(HWND toolbar, int bitmapWidth) const;
    void AlignRightToolbar();
    void OpenHotPopup();
    void BeginTracking(bool foreign);
    void EndTracking();
    int HitTest(POINT screenPoint) const;
    LRESULT OnMenuChar(wchar_t character);
    bool FilterMenuLoopMessage(const MSG& message);
    void MoveToMenu(int index);
    void PostOpenHotPopup(bool lightFirstItem);

    static LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR data);
    static LRESULT CALLBACK ToolbarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR data);
    static LRESULT CALLBACK RightToolbarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR id, DWORD_PTR data);
    static LRESULT CALLBACK MessageFilter(int code, WPARAM wParam, LPARAM lParam);

    // The next popup opens with its first item lit, as after Alt+letter or an arrow key.
    bool lightFirstItem_ = false;

  protected:
    // Where the popup being tracked opens, in screen coordinates: its monitor decides its DPI.
    POINT popupPlace_ = {};
    bool foreignPopup_ = false;
    int allowButtonChange_ = 0;
    POINT lastMouse_ = {};
    int hotIndex_ = 0;
    int selectedItemFlags_ = 0;
    HWND toolbar_ = nullptr;
    HWND parent_ = nullptr;
    int menuCount_ = 0;
    HMENU menu_ = nullptr;
    HWND rightToolbar_ = nullptr;
};
