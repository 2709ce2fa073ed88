#include "common/window_subclass.h"

namespace {

// The procedure itself tells our subclasses apart; one id each is enough.
constexpr UINT_PTR kSubclassId = 1;

}  // namespace

bool AttachSubclass(HWND window, SUBCLASSPROC procedure, void* data) {
    if (window == nullptr) {
        return false;
    }
    return SetWindowSubclass(window, procedure, kSubclassId, reinterpret_cast<DWORD_PTR>(data)) != FALSE;
}

void DetachSubclass(HWND window, SUBCLASSPROC procedure) {
    if (window != nullptr && IsWindow(window)) {
        RemoveWindowSubclass(window, procedure, kSubclassId);
    }
}

LRESULT PassToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam, SUBCLASSPROC procedure) {
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, procedure, kSubclassId);
    }
    return DefSubclassProc(window, message, wParam, lParam);
}
