// Move-only owners for the handles the program creates: the close function runs once, in
// the destructor, on every path.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <utility>

template <typename Handle, auto Close, Handle Invalid = Handle{}>
class ScopedHandle {
public:
    ScopedHandle() = default;
    explicit ScopedHandle(Handle h) : handle_(h) {}
    ~ScopedHandle() { Reset(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ScopedHandle(ScopedHandle&& other) noexcept : handle_(std::exchange(other.handle_, Invalid)) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept {
        if (this != &other) {
            Reset(std::exchange(other.handle_, Invalid));
        }
        return *this;
    }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != Invalid; }
    Handle Release() { return std::exchange(handle_, Invalid); }
    void Reset(Handle h = Invalid) {
        if (handle_ != Invalid) {
            Close(handle_);
        }
        handle_ = h;
    }

private:
    Handle handle_ = Invalid;
};

namespace scoped_detail {
inline void CloseKernelHandle(HANDLE h) { ::CloseHandle(h); }
inline void CloseRegKey(HKEY k) { ::RegCloseKey(k); }
inline void DeleteGdiObject(HGDIOBJ o) { ::DeleteObject(o); }
inline void DestroyIconHandle(HICON i) { ::DestroyIcon(i); }
inline void DestroyMenuHandle(HMENU m) { ::DestroyMenu(m); }
inline void DeleteMemoryDc(HDC dc) { ::DeleteDC(dc); }
inline void DestroyImageList(HIMAGELIST list) { ::ImageList_Destroy(list); }
}  // namespace scoped_detail

using ScopedKernelHandle = ScopedHandle<HANDLE, scoped_detail::CloseKernelHandle>;
using ScopedRegKey = ScopedHandle<HKEY, scoped_detail::CloseRegKey>;
using ScopedGdiObject = ScopedHandle<HGDIOBJ, scoped_detail::DeleteGdiObject>;
using ScopedIcon = ScopedHandle<HICON, scoped_detail::DestroyIconHandle>;
using ScopedMenu = ScopedHandle<HMENU, scoped_detail::DestroyMenuHandle>;
using ScopedMemoryDc = ScopedHandle<HDC, scoped_detail::DeleteMemoryDc>;
using ScopedImageList = ScopedHandle<HIMAGELIST, scoped_detail::DestroyImageList>;

// A window's device context (the screen's for a null window) for the life of a scope.
class WindowDc {
  public:
    explicit WindowDc(HWND window = nullptr) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_ != nullptr) {
            ReleaseDC(window_, dc_);
        }
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

using ScreenDc = WindowDc;

// A window painted for the life of a scope: BeginPaint, and EndPaint on every path.
class ScopedPaint {
  public:
    explicit ScopedPaint(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~ScopedPaint() { EndPaint(window_, &paint_); }
    ScopedPaint(const ScopedPaint&) = delete;
    ScopedPaint& operator=(const ScopedPaint&) = delete;
    HDC Get() const { return dc_; }

  private:
    HWND window_;
    PAINTSTRUCT paint_ = {};
    HDC dc_;
};

// An object selected into a device context for the life of a scope; the one it replaced goes
// back on every path. A null object selects nothing.
class ScopedSelect {
  public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object != nullptr ? SelectObject(dc, object) : nullptr) {}
    ~ScopedSelect() {
        if (previous_ != nullptr) {
            SelectObject(dc_, previous_);
        }
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Text drawn transparently in a colour for the life of a scope; the device context's
// background mode and text colour go back on every path.
class ScopedTextColour {
  public:
    ScopedTextColour(HDC dc, COLORREF colour)
        : dc_(dc), previousMode_(SetBkMode(dc, TRANSPARENT)), previousColour_(SetTextColor(dc, colour)) {}
    ~ScopedTextColour() {
        SetTextColor(dc_, previousColour_);
        SetBkMode(dc_, previousMode_);
    }
    ScopedTextColour(const ScopedTextColour&) = delete;
    ScopedTextColour& operator=(const ScopedTextColour&) = delete;

  private:
    HDC dc_;
    int previousMode_;
    COLORREF previousColour_;
};
