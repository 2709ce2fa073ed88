#include "common/window_subclass.h"

#include "common/failure_note.h"

namespace {

// The procedure itself tells our subclasses apart; one id each is enough.
constexpr UINT_PTR kSubclassId = 1;

}  // namespace

bool AttachSubclass(HWND window, SUBCLASSPROC procedure, void* data) {
    if (window == nullptr) {
        return false;
    }
    if (SetWindowSubclass(window, procedure, kSubclassId, reinterpret_cast<DWORD_PTR>(data)) == FALSE) {
        NoteFailure(L"SetWindowSubclass");
        return false;
    }
    return true;
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
