// A desktop for unit tests of the engine and the desktop lookups: a handful of windows with
// classes, titles, rectangles, parents and a z-order, plus a clock, a cursor and keys that the
// test sets between ticks. It answers the engine's questions the way the window manager does
// and records what the engine changes. Fixed arrays only: it allocates nothing, so ticks on
// it can be checked for allocations.
#pragma once
#include <windows.h>

#include <cwchar>

#include "desktop/button_events.h"

class ScriptedDesktop {
  public:
    static constexpr int kMaxWindows = 24;
    static constexpr int kMaxIconChanges = 8;
    static constexpr int kMaxButtonEvents = 8;

    // Windows are handles 0x100, 0x101, ... in the order of creation. `z` orders siblings:
    // the lower, the higher up (top-level menus get negative values to float above all).
    HWND Add(const wchar_t* className, const wchar_t* title, RECT rect, HWND parent = nullptr, int z = -1) {
        Window& w = windows_[count_];
        w.handle = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x100 + count_));
        w.className = className;
        w.title = title;
        w.rect = rect;
        w.parent = parent;
        w.visible = true;
        w.z = z == -1 ? count_ : z;
        ++count_;
        return w.handle;
    }

    void SetVisible(HWND h, bool visible) { At(h)->visible = visible; }
    void Remove(HWND h) { At(h)->removed = true; }
    bool VisibleStyle(HWND h) { return At(h)->visible; }

    // Scripted input.
    int now = 0;
    POINT cursor = {0, 0};
    bool cursorReadable = true;
    bool keys[256] = {};
    HWND labelEditor = nullptr;
    bool countdownVisible = true;
    // Button events as the raw input brings them, for the next tick to take.
    ButtonEvent buttonEvents[kMaxButtonEvents] = {};
    int buttonEventCount = 0;

    void AddButtonEvent(int button, bool pressed, int time, POINT at) {
        buttonEvents[buttonEventCount++] = ButtonEvent{button, pressed, time, at};
    }

    // What the engine did.
    int countdown = -1;
    int countdownWrites = 0;
    bool iconChanges[kMaxIconChanges] = {};
    int iconChangeCount = 0;
    wchar_t trace[256] = {};
    int traceCount = 0;
    // Shows, hides and icon changes asked of a window that is not there (a null list view, a
    // missing taskbar): counted instead of crashing the test program.
    int changesOfMissingWindows = 0;

    void ForgetRecords() {
        countdownWrites = 0;
        iconChangeCount = 0;
        traceCount = 0;
        trace[0] = L'\0';
    }

    // The desktop interface.
    int Now() { return now; }
    bool CursorPos(POINT* p) {
        if (cursorReadable) {
            *p = cursor;
        }
        return cursorReadable;
    }
    bool KeyDown(int virtualKey) { return keys[virtualKey & 0xFF]; }

    HWND Find(HWND parent, HWND after, const wchar_t* className, const wchar_t* title) {
        const int afterZ = after != nullptr ? At(after)->z : -1000000;
        const Window* found = nullptr;
        for (int i = 0; i < count_; ++i) {
            const Window& w = windows_[i];
            if (w.removed || w.parent != parent || w.z <= afterZ || (found != nullptr && w.z >= found->z)) {
                continue;
            }
            if ((className == nullptr || std::wcscmp(w.className, className) == 0) &&
                (title == nullptr || std::wcscmp(w.title, title) == 0)) {
                found = &w;
            }
        }
        return found != nullptr ? found->handle : nullptr;
    }

    // The deepest visible window containing the point, like WindowFromPoint.
    HWND WindowAt(POINT p) {
        HWND result = nullptr;
        for (HWND level = TopmostAt(nullptr, p); level != nullptr; level = TopmostAt(level, p)) {
            result = level;
        }
        return result;
    }

    bool Rect(HWND h, RECT* rect) {
        const Window* w = At(h);
        if (w == nullptr) {
            return false;
        }
        *rect = w->rect;
        return true;
    }
    HWND Parent(HWND h) { return At(h) != nullptr ? At(h)->parent : nullptr; }
    HWND NextBelow(HWND h) {
        const Window* self = At(h);
        const Window* next = nullptr;
        for (int i = 0; i < count_; ++i) {
            const Window& w = windows_[i];
            if (!w.removed && w.parent == self->parent && w.z > self->z && (next == nullptr || w.z < next->z)) {
                next = &w;
            }
        }
        return next != nullptr ? next->handle : nullptr;
    }
    bool Visible(HWND h) {
        for (const Window* w = At(h); w != nullptr; w = At(w->parent)) {
            if (!w->visible) {
                return false;
            }
        }
        return At(h) != nullptr;
    }
    int ClassName(HWND h, wchar_t* buffer, int size) {
        const Window* w = At(h);
        if (w == nullptr) {
            return 0;
        }
        wcsncpy_s(buffer, size, w->className, _TRUNCATE);
        return static_cast<int>(std::wcslen(buffer));
    }
    // A removed window takes its children with it, as a destroyed one does.
    bool Exists(HWND h) {
        if (h == nullptr) {
            return false;
        }
        for (; h != nullptr; h = At(h)->parent) {
            if (At(h) == nullptr) {
                return false;
            }
        }
        return true;
    }
    HWND LabelEditor(HWND) { return labelEditor; }
    // The system's double-click limits and the shell's selection, as a test sets them.
    int doubleClickTime = 500;
    SIZE doubleClickSize = {4, 4};
    int selectedIcons = 0;
    int selectionQuestions = 0;
    int DoubleClickTime() { return doubleClickTime; }
    SIZE DoubleClickSize() { return doubleClickSize; }
    int SelectedIcons(HWND) {
        ++selectionQuestions;
        return selectedIcons;
    }
    int TakeButtonEvents(ButtonEvent* events, int capacity) {
        const int taken = buttonEventCount < capacity ? buttonEventCount : capacity;
        for (int i = 0; i < taken; ++i) {
            events[i] = buttonEvents[i];
        }
        buttonEventCount = 0;
        return taken;
    }

    void Show(HWND h, int command) {
        if (At(h) == nullptr) {
            ++changesOfMissingWindows;
            return;
        }
        At(h)->visible = command != SW_HIDE;
    }
    void SetIcons(HWND listView, bool show) {
        if (At(listView) == nullptr) {
            ++changesOfMissingWindows;
        } else {
            At(listView)->visible = show;
        }
        if (iconChangeCount < kMaxIconChanges) {
            iconChanges[iconChangeCount] = show;
        }
        ++iconChangeCount;
    }
    int Countdown() { return countdown; }
    bool SetCountdown(int seconds) {
        if (!countdownVisible) {
            return false;
        }
        countdown = seconds;
        ++countdownWrites;
        return true;
    }
    void Trace(const wchar_t* line) {
        wcsncpy_s(trace, 256, line, _TRUNCATE);
        ++traceCount;
    }

  private:
    struct Window {
        HWND handle = nullptr;
        const wchar_t* className = L"";
        const wchar_t* title = L"";
        RECT rect = {};
        HWND parent = nullptr;
        bool visible = true;
        bool removed = false;
        int z = 0;
    };

    Window* At(HWND h) {
        for (int i = 0; i < count_; ++i) {
            if (windows_[i].handle == h && h != nullptr && !windows_[i].removed) {
                return &windows_[i];
            }
        }
        return nullptr;
    }

    HWND TopmostAt(HWND parent, POINT p) {
        const Window* top = nullptr;
        for (int i = 0; i < count_; ++i) {
            const Window& w = windows_[i];
            if (!w.removed && w.parent == parent && w.visible && PtInRect(&w.rect, p) &&
                (top == nullptr || w.z < top->z)) {
                top = &w;
            }
        }
        return top != nullptr ? top->handle : nullptr;
    }

    Window windows_[kMaxWindows];
    int count_ = 0;
};
