// The desktop as the Windows API shows it: the one place where the auto-hide engine and the
// desktop lookups meet the clock, the cursor, the keys and other processes' windows. Each
// member is the API call itself, inlined, so the real desktop costs nothing over direct calls.
// Unit tests put a scripted desktop with the same members in its place.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "desktop/button_events.h"
#include "desktop/engine_state.h"
#include "desktop/icon_visibility.h"
#include "desktop/shell_window_visibility.h"

struct SystemDesktop {
    int Now() { return NowMs(); }
    bool CursorPos(POINT* p) { return GetCursorPos(p) != 0; }
    bool KeyDown(int virtualKey) { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

    HWND Find(HWND parent, HWND after, const wchar_t* className, const wchar_t* title) {
        return FindWindowExW(parent, after, className, title);
    }
    HWND WindowAt(POINT p) { return WindowFromPoint(p); }
    bool Rect(HWND window, RECT* rect) { return GetWindowRect(window, rect) != 0; }
    HWND Parent(HWND window) { return GetParent(window); }
    HWND NextBelow(HWND window) { return GetWindow(window, GW_HWNDNEXT); }
    bool Visible(HWND window) { return IsWindowVisible(window) != 0; }
    bool Exists(HWND window) { return IsWindow(window) != 0; }
    int ClassName(HWND window, wchar_t* buffer, int size) { return GetClassNameW(window, buffer, size); }
    // The list view makes its label editor a child of its own, so without an "Edit" child there
    // is no editor to ask for; looking at the children is far cheaper than a send to another
    // process on every tick. A shell that does not answer in time (or is known to hang) costs
    // the tick no more; its "Edit" child is then taken for the editor, so that a label being
    // edited keeps the icons.
    HWND LabelEditor(HWND listView) {
        HWND edit = FindWindowExW(listView, nullptr, L"Edit", nullptr);
        if (edit == nullptr) {
            return nullptr;
        }
        DWORD_PTR editor = 0;
        if (SendMessageTimeoutW(listView, LVM_GETEDITCONTROL, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, kShellAnswerMs,
                                &editor) == 0) {
            return edit;
        }
        return reinterpret_cast<HWND>(editor);
    }

    void Show(HWND window, int command) {
        if (command == SW_HIDE) {
            HideShellWindow(window);
        } else {
            ShowShellWindow(window);
        }
    }
    void SetIcons(HWND listView, bool show) { ApplyIconsVisible(listView, show); }
    // What the bar shows; -1 without a bar.
    int Countdown() {
        return countdownBar != nullptr ? static_cast<int>(SendMessageW(countdownBar, PBM_GETPOS, 0, 0)) : -1;
    }
    // Whether the bar now shows `seconds`: a hidden one is left alone.
    bool SetCountdown(int seconds) {
        if (countdownBar == nullptr || !IsWindowVisible(countdownBar)) {
            return false;
        }
        SendMessageW(countdownBar, PBM_SETPOS, static_cast<WPARAM>(seconds), 0);
        return true;
    }
    void Trace(const wchar_t* line) { OutputDebugStringW(line); }

    // Presses and releases since the last call, however short (button_events.h).
    int TakeButtonEvents(ButtonEvent* events, int capacity) { return ::TakeButtonEvents(events, capacity); }
    int DoubleClickTime() { return static_cast<int>(GetDoubleClickTime()); }
    SIZE DoubleClickSize() { return SIZE{GetSystemMetrics(SM_CXDOUBLECLK), GetSystemMetrics(SM_CYDOUBLECLK)}; }
    // How many icons the list view has selected; -1 when it does not answer in time. The count
    // comes back as the result, so nothing is written into the shell's memory. Asked only at the
    // second click of a double-click.
    int SelectedIcons(HWND listView) {
        DWORD_PTR count = 0;
        if (SendMessageTimeoutW(listView, LVM_GETSELECTEDCOUNT, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                                kSelectedIconsTimeoutMs, &count) == 0) {
            return -1;
        }
        return static_cast<int>(count);
    }

    HWND countdownBar = nullptr;  // the progress bar that shows the seconds left

  private:
    static constexpr UINT kShellAnswerMs = 100;
    // A shell that takes longer is hung or busy: the double-click then hides nothing.
    static constexpr UINT kSelectedIconsTimeoutMs = 250;
};
