// One tick of the auto-hide engine, written over a desktop: SystemDesktop in the program, a
// scripted desktop in unit tests. RunAutoHideTick() runs it on the real desktop.
//
// The tick runs about 33 times a second for the life of the program, and every query of
// another process's window is a round trip (to the server, under Wine). So within one tick
// the visibility of the icons and the window under the cursor are asked once and remembered
// until the tick itself shows or hides a window, and a query whose answer cannot change what
// the tick does is not made: no menu walk while no popup menu exists, no label-editor
// question once a desktop menu has been found, no taskbar lookups without hide_taskbar, no
// new search for the shell's windows while the ones found live (up to a second), and no
// countdown written that the bar already shows.
// Nothing here allocates: the secondary taskbars of one tick live in a fixed array.
#pragma once
#include <windows.h>

#include <climits>
#include <cstdlib>
#include <cwchar>

#include "desktop/button_events.h"
#include "desktop/engine_state.h"
#include "desktop/desktop_lookup.h"
#include "desktop/desktop_windows.h"
#include "settings/settings.h"

// Clock arithmetic is signed 32-bit and wraps like the clock does (after about 24.8 days).
inline int ClockMinus(int a, int b) {
    return static_cast<int>(static_cast<unsigned>(a) - static_cast<unsigned>(b));
}

// The idle time in milliseconds for a number of seconds from the INI file. Someone who types
// a huge number means "never": beyond the 32-bit range it is the largest limit (about 24.8
// days), not a wrapped negative one that would hide the icons on every tick. A negative
// number counts as 0.
inline int IdleLimitMs(int seconds) {
    constexpr int kLargestSeconds = INT_MAX / 1000;
    if (seconds <= 0) {
        return 0;
    }
    return seconds > kLargestSeconds ? INT_MAX : seconds * 1000;
}

template <typename Desktop>
class AutoHideTickRun {
  public:
    // cppcheck-suppress uninitMemberVar ; a tick reads only the secondaries_ it has found and written
    AutoHideTickRun(Desktop& desktop, EngineState& state)
        : desktop_(desktop),
          state_(state),
          limit_(IdleLimitMs(settings.auto_hide_icons_sec)),
          cursor_(state.lastCursor) {}

    void Run() {
        if (!state_.taskbarSinceSet) {
            state_.taskbarSince = desktop_.Now();
            state_.taskbarSinceSet = true;
        }
        KeepWithinReach(state_.idleSince);
        KeepWithinReach(state_.taskbarSince);
        shell_ = ShellWindows();
        if (CursorCountsAsMoved()) {
            CursorMoved();
        }
        ApplyTaskbarRules();
        TakeButtonEvents();
        if (ClicksShowedIcons()) {
            state_.firstClickKept = false;  // a click that shows the icons starts no double-click
            return;                         // the countdown keeps its position on this tick
        }
        ReleaseHeldLeftButton();
        CheckIdleTime();
    }

  private:
    static constexpr int kClassNameChars = 1024;
    static constexpr int kClassNameReadChars = 124;
    static constexpr int kTraceChars = 256;
    static constexpr int kLeftButton = VK_LBUTTON;    // 1
    static constexpr int kRightButton = VK_RBUTTON;   // 2
    static constexpr int kMiddleButton = VK_MBUTTON;  // 4
    static constexpr int kLeftWindowsKey = VK_LWIN;   // 0x5B; the right one does not count
    static constexpr int kKeyD = 0x44;
    // Secondary taskbars a tick keeps its answers for (one a monitor). Any beyond these still
    // follow the cursor and hide by the idle rule of every taskbar, only not at once with the
    // icons.
    static constexpr int kMostSecondaryTaskbars = 16;
    // The shell may move its desktop view to another window while the old ones live on: what
    // was found is looked up afresh at least this often.
    static constexpr int kShellLookupPeriodMs = 1000;
    // Button events a tick takes; a tick comes every 30 ms, and at least every 230 ms.
    static constexpr int kMostButtonEvents = 16;
    // An event older than this was made while no tick ran (the program disabled): it is no
    // click on what the desktop shows now.
    static constexpr int kStaleEventMs = 1000;

    struct SecondaryTaskbar {
        HWND window;
        bool over;  // the cursor is in it, or touched it less than the idle time ago
    };

    int Now() { return desktop_.Now(); }

    // How long ago `then` was. A difference that reads negative is one the clock can no longer
    // tell: as long ago as can be, never still to come.
    int Since(int then) {
        const int elapsed = ClockMinus(Now(), then);
        return elapsed < 0 ? INT_MAX : elapsed;
    }

    // Once a time lies further back than the idle limit, how much further changes no rule: it
    // is kept just past the limit, so no difference the engine takes leaves the clock's range
    // however long the icons stay hidden (2^31 ms is under 25 days).
    void KeepWithinReach(int& then) {
        const int reach = limit_ < INT_MAX ? limit_ + 1 : INT_MAX;
        if (Since(then) >= reach) {
            then = ClockMinus(Now(), reach);
        }
    }

    // Finding "Program Manager" by its title asks every top-level window for its title, the
    // costliest question of a tick; the windows it leads to live as long as the shell. So
    // what was found serves while its list view exists, and a restarted shell is found on the
    // tick its old list view has gone. Without a shell, every tick looks.
    DesktopWindows ShellWindows() {
        const DesktopWindows& known = state_.shell;
        if (known.listView != nullptr && Since(state_.shellFoundAt) < kShellLookupPeriodMs &&
            desktop_.Exists(known.listView)) {
            return known;
        }
        state_.shell = FindDesktopListViewOn(desktop_);
        state_.shellFoundAt = Now();
        return state_.shell;
    }

    // The cursor is read where its position is about to be used, not before: a reading that
    // a later one replaces unused would be a round trip to the X server for nothing.
    void ReadCursor() {
        POINT p;
        if (desktop_.CursorPos(&p)) {
            cursor_ = p;
        }
        cursorRead_ = true;
    }

    // A desktop context menu or the label editor counts as movement; otherwise the cursor
    // has to have moved since the last tick that saw it move.
    bool CursorCountsAsMoved() {
        if (settings.show_icons_by_contextmenu != 0 && DesktopMenuOpen()) {
            return true;
        }
        if (shell_.listView != nullptr && desktop_.LabelEditor(shell_.listView) != nullptr) {
            state_.idleSince = Now();
            if (!cursorRead_) {
                ReadCursor();
            }
            return true;
        }
        ReadCursor();
        return cursor_.x != state_.lastCursor.x || cursor_.y != state_.lastCursor.y;
    }

    // The menu under the cursor, or the menu it was opened from (one hop), has to touch the
    // desktop with the corner just above and left of its own top-left corner.
    bool DesktopMenuOpen() {
        // Popup menus are top-level windows of class "#32768": while there is none at all,
        // the window under the cursor is none either.
        if (desktop_.Find(nullptr, nullptr, L"#32768", nullptr) == nullptr) {
            return false;
        }
        ReadCursor();
        HWND menu = Under(cursor_);
        for (int hop = 0;; ++hop) {
            wchar_t className[kClassNameChars] = {};
            if (menu != nullptr) {
                desktop_.ClassName(menu, className, kClassNameReadChars);
            }
            if (std::wcscmp(className, L"#32768") != 0) {
                return false;
            }
            RECT rect = {};
            desktop_.Rect(menu, &rect);
            HWND corner = desktop_.WindowAt(POINT{rect.left - 1, rect.top - 1});
            if (IsShellWindow(corner)) {
                DesktopMenuFound(menu, corner, className);
                return true;
            }
            if (hop == 1) {
                return false;
            }
            menu = corner;
        }
    }

    void DesktopMenuFound(HWND menu, HWND corner, const wchar_t* className) {
        wchar_t line[kTraceChars];
        wsprintfW(line, L"h %d listview_hwnd:%d P:%d %s desk:%d\n", HandleNumber(menu), HandleNumber(shell_.listView),
                  HandleNumber(corner), className, HandleNumber(shell_.defView));
        desktop_.Trace(line);
        state_.idleSince = Now();
        if (!IconsVisible()) {
            SetIcons(true);
        }
    }

    void CursorMoved() {
        state_.lastCursor = cursor_;
        HWND h = Under(cursor_);
        if (h != nullptr && h == shell_.listView) {
            state_.idleSince = Now();
        } else if (h != nullptr && h == shell_.defView && settings.show_icons_mouse_move != 0) {
            state_.idleSince = Now();
            SetIcons(true);
            ShowHiddenTaskbars(true);
        }
    }

    // Without hide_taskbar nothing below depends on the taskbars, so they are not looked up.
    // Each secondary taskbar (one a further monitor) gets the rules on its own, and what they
    // answered is kept for the idle check of this tick.
    void ApplyTaskbarRules() {
        if (settings.hide_taskbar == 0) {
            return;
        }
        TaskbarRule(desktop_.Find(nullptr, nullptr, kPrimaryTaskbarClass, nullptr));
        HWND taskbar = nullptr;
        while ((taskbar = desktop_.Find(nullptr, taskbar, kSecondaryTaskbarClass, nullptr)) != nullptr) {
            // Showing a taskbar may raise it, and the walk then meets the others once more.
            if (Recorded(taskbar)) {
                continue;
            }
            const bool over = TaskbarRule(taskbar) != 0;
            if (secondaryCount_ < kMostSecondaryTaskbars) {
                secondaries_[secondaryCount_++] = SecondaryTaskbar{taskbar, over};
            }
        }
    }

    bool Recorded(HWND taskbar) const {
        for (int i = 0; i < secondaryCount_; ++i) {
            if (secondaries_[i].window == taskbar) {
                return true;
            }
        }
        return false;
    }

    // The icons are back at the user's request: so is every secondary taskbar, and the primary
    // one when the cursor came onto the desktop; after a click it waits to be touched. Rare, so
    // looked up afresh.
    void ShowHiddenTaskbars(bool primaryToo) {
        if (settings.hide_taskbar == 0) {
            return;
        }
        if (primaryToo) {
            ShowTaskbarIfHidden(desktop_.Find(nullptr, nullptr, kPrimaryTaskbarClass, nullptr));
        }
        HWND taskbar = nullptr;
        while ((taskbar = desktop_.Find(nullptr, taskbar, kSecondaryTaskbarClass, nullptr)) != nullptr) {
            ShowTaskbarIfHidden(taskbar);
        }
    }

    // Returns whether the taskbar is to stay: the cursor is in it, or it was touched less
    // than the idle time ago while the icons are hidden.
    int TaskbarRule(HWND taskbar) {
        if (taskbar == nullptr) {
            return 0;
        }
        RECT rect = {};
        desktop_.Rect(taskbar, &rect);
        if (PtInRect(&rect, cursor_)) {
            ShowTaskbarIfHidden(taskbar);
            state_.taskbarSince = Now();
            return 1;
        }
        if (IconsVisible() || !desktop_.Visible(taskbar)) {
            return 0;
        }
        if (Since(state_.taskbarSince) > limit_) {
            Show(taskbar, SW_HIDE);
            return 0;
        }
        return 1;
    }

    // The button events since the last tick. A new left press is a new click, whatever a
    // double-click before it did.
    void TakeButtonEvents() {
        ButtonEvent taken[kMostButtonEvents];
        const int count = desktop_.TakeButtonEvents(taken, kMostButtonEvents);
        for (int i = 0; i < count; ++i) {
            if (ClockMinus(Now(), taken[i].time) > kStaleEventMs) {
                continue;
            }
            events_[eventCount_++] = taken[i];
            if (taken[i].button == kLeftButton && taken[i].pressed) {
                state_.leftHeldAfterDoubleClick = false;
            } else if (taken[i].button == kLeftButton) {
                state_.leftReleasedAfterDoubleClick = true;
            }
        }
    }

    // Whether this tick took a press (or a release) of `button`, from its event `fromEvent` on.
    bool EventTaken(int button, bool pressed, int fromEvent = 0) const {
        for (int i = fromEvent; i < eventCount_; ++i) {
            if (events_[i].pressed == pressed && events_[i].button == button) {
                return true;
            }
        }
        return false;
    }

    bool PressTaken(int button) const { return EventTaken(button, true); }

    static bool ButtonShowsIcons(int button) {
        switch (button) {
            case kLeftButton:
                return settings.show_icons_by_l_mouse != 0;
            case kRightButton:
                return settings.show_icons_by_r_mouse != 0;
            case kMiddleButton:
                return settings.show_icons_by_m_mouse != 0;
            default:
                return false;
        }
    }

    // Each press since the last tick counts where it was made, however short it was and
    // wherever the cursor went after it, in the order they came. Then the buttons down now
    // whose press came before this tick, and Win+D, count where the cursor is now, as a button
    // held from one tick to the next always has. Whether a click showed the icons.
    bool ClicksShowedIcons() {
        bool showed = false;
        for (int i = 0; i < eventCount_; ++i) {
            const ButtonEvent& press = events_[i];
            if (!press.pressed) {
                continue;
            }
            if (press.button == kMiddleButton) {
                HideByMiddleButton();
            }
            if (ButtonShowsIcons(press.button) && ClickShowedIconsAt(press.at)) {
                showed = true;
                state_.firstClickKept = false;  // a click that shows the icons starts no double-click
            } else if (press.button == kLeftButton) {
                HideByDoubleClick(i);
            }
        }
        const bool middleDown = (settings.hide_icons_by_m_mouse != 0 || settings.show_icons_by_m_mouse != 0) &&
                                !PressTaken(kMiddleButton) && desktop_.KeyDown(kMiddleButton);
        if (middleDown) {
            HideByMiddleButton();
        }
        return (HeldClick(middleDown) && ClickShowedIconsAt(cursor_)) || showed;
    }

    bool HeldClick(bool middleDown) {
        return (settings.show_icons_by_l_mouse != 0 && !state_.leftHeldAfterDoubleClick && !PressTaken(kLeftButton) &&
                desktop_.KeyDown(kLeftButton)) ||
               (settings.show_icons_by_r_mouse != 0 && !PressTaken(kRightButton) && desktop_.KeyDown(kRightButton)) ||
               (settings.show_icons_by_m_mouse != 0 && middleDown) ||
               (settings.show_icons_win_d != 0 && desktop_.KeyDown(kLeftWindowsKey) && desktop_.KeyDown(kKeyD));
    }

    // With its option the middle button hides the icons wherever it is pressed. The idle time
    // counts as used up, so they stay hidden until asked for.
    void HideByMiddleButton() {
        if (settings.hide_icons_by_m_mouse != 0 && IconsVisible()) {
            SetIcons(false);
            state_.idleSince = ClockMinus(Now(), limit_);
        }
    }

    bool ClickShowedIconsAt(POINT p) {
        const bool visible = IconsVisible();
        HWND h = Under(p);
        if (!visible && h != nullptr && h == shell_.defView) {
            state_.idleSince = Now();
            SetIcons(true);
            ShowHiddenTaskbars(false);
            return true;
        }
        if (visible && h == shell_.listView) {
            state_.idleSince = Now();
        }
        return false;
    }

    // Two left presses on the visible icons within the system's double-click time and
    // rectangle, with no icon under either, hide the icons, the idle time used up as by the
    // middle button. Whether an icon was under the first click the shell tells by its
    // selection, which a click on an empty spot clears and a click on an icon sets: by the
    // second press it has long handled the first, and the second lies within a few pixels of
    // it. A press that cannot be the first of a double-click ends one.
    void HideByDoubleClick(int pressIndex) {
        const ButtonEvent& press = events_[pressIndex];
        if (settings.hide_icons_by_dblclick == 0 || settings.disable_permanently != 0 || !IconsVisible() ||
            shell_.listView == nullptr || Under(press.at) != shell_.listView) {
            state_.firstClickKept = false;
            return;
        }
        if (state_.firstClickKept && SecondClickOfDoubleClick(press) && desktop_.SelectedIcons(shell_.listView) == 0) {
            SetIcons(false);
            state_.idleSince = ClockMinus(Now(), limit_);
            state_.firstClickKept = false;
            state_.leftHeldAfterDoubleClick = true;
            state_.leftReleasedAfterDoubleClick = EventTaken(kLeftButton, false, pressIndex + 1);
            return;
        }
        state_.firstClickKept = true;
        state_.firstClick = press;
    }

    bool SecondClickOfDoubleClick(const ButtonEvent& press) {
        const ButtonEvent& first = state_.firstClick;
        const int gap = ClockMinus(press.time, first.time);
        if (gap < 0 || gap > desktop_.DoubleClickTime()) {
            return false;
        }
        // The rectangle is centred on the first click.
        const SIZE size = desktop_.DoubleClickSize();
        return 2 * std::abs(press.at.x - first.at.x) <= size.cx && 2 * std::abs(press.at.y - first.at.y) <= size.cy;
    }

    // The button that ended a double-click counts as a click again once its release has come
    // and it reads up (the state a tick reads may lag behind the events).
    void ReleaseHeldLeftButton() {
        if (state_.leftHeldAfterDoubleClick && state_.leftReleasedAfterDoubleClick && !desktop_.KeyDown(kLeftButton)) {
            state_.leftHeldAfterDoubleClick = false;
        }
    }

    void CheckIdleTime() {
        const int elapsed = Since(state_.idleSince);
        if (elapsed > limit_) {
            if (IconsVisible()) {
                SetIcons(false);
            }
            // The secondary taskbars go with the icons, each unless the cursor keeps it.
            for (int i = 0; i < secondaryCount_; ++i) {
                if (!secondaries_[i].over && desktop_.Visible(secondaries_[i].window)) {
                    Show(secondaries_[i].window, SW_HIDE);
                }
            }
            return;
        }
        ShowCountdown(ClockMinus(limit_, elapsed) / 1000);  // whole seconds, fraction dropped
    }

    // Most ticks leave the whole seconds as they were. The bar is asked what it shows, not
    // told what was last written: the slider sets it too. A bar that cannot be seen (the
    // dialog in the tray) is written once it can.
    void ShowCountdown(int seconds) {
        if (desktop_.Countdown() != seconds) {
            desktop_.SetCountdown(seconds);
        }
    }

    // A null handle never matches: without a shell there is no desktop to point at.
    bool IsShellWindow(HWND h) const { return h != nullptr && (h == shell_.listView || h == shell_.defView); }

    static int HandleNumber(HWND h) { return static_cast<int>(reinterpret_cast<INT_PTR>(h)); }

    bool IconsVisible() {
        if (iconsVisible_ < 0) {
            iconsVisible_ = shell_.listView != nullptr && desktop_.Visible(shell_.listView) ? 1 : 0;
        }
        return iconsVisible_ != 0;
    }

    // The last answer serves while the point is the same and the tick has changed no window.
    HWND Under(POINT p) {
        if (!underKnown_ || underPoint_.x != p.x || underPoint_.y != p.y) {
            under_ = WindowUnderPointOn(desktop_, p);
            underPoint_ = p;
            underKnown_ = true;
        }
        return under_;
    }

    void SetIcons(bool show) {
        if (shell_.listView == nullptr) {
            return;
        }
        desktop_.SetIcons(shell_.listView, show);
        iconsVisible_ = show ? 1 : 0;
        underKnown_ = false;
    }

    void ShowTaskbarIfHidden(HWND taskbar) {
        if (taskbar != nullptr && !desktop_.Visible(taskbar)) {
            Show(taskbar, SW_SHOW);
        }
    }

    void Show(HWND window, int command) {
        desktop_.Show(window, command);
        underKnown_ = false;
    }

    Desktop& desktop_;
    EngineState& state_;
    const int limit_;
    POINT cursor_;  // a failed read leaves the cursor where it last was
    bool cursorRead_ = false;
    DesktopWindows shell_;
    SecondaryTaskbar secondaries_[kMostSecondaryTaskbars];
    int secondaryCount_ = 0;
    ButtonEvent events_[kMostButtonEvents];  // taken this tick, oldest first, none stale
    int eventCount_ = 0;
    int iconsVisible_ = -1;  // not asked yet on this tick
    bool underKnown_ = false;
    POINT underPoint_ = {};
    HWND under_ = nullptr;
};

template <typename Desktop>
void AutoHideTickOn(Desktop& desktop, EngineState& state) {
    AutoHideTickRun<Desktop>(desktop, state).Run();
}
