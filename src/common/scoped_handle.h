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

// The screen's device context for the life of a scope.
class ScreenDc {
  public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ~ScreenDc() {
        if (dc_ != nullptr) {
            ReleaseDC(nullptr, dc_);
        }
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC Get() const { return dc_; }

  private:
    HDC dc_;
};
