#include "common/input_window.h"

namespace {

// More modal windows over one another than the program ever opens.
constexpr int kMaxModalDepth = 8;

struct ModalSearch {
    HWND owner;
    HWND found;
};

// Every modal window of the program is a dialog box: its own, a message box, and the common
// colour and file dialogs.
bool IsDialogBox(HWND window) {
    wchar_t name[8] = L"";
    return GetClassNameW(window, name, 8) != 0 && lstrcmpW(name, L"#32770") == 0;
}

// The modal window that holds `owner` disabled: a visible dialog box it owns, on its thread.
HWND ModalWindowOver(HWND owner) {
    if (IsWindowEnabled(owner)) {
        return nullptr;
    }
    ModalSearch search{owner, nullptr};
    EnumThreadWindows(
        GetWindowThreadProcessId(owner, nullptr),
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<ModalSearch*>(param);
            if (GetWindow(window, GW_OWNER) == s->owner && IsWindowVisible(window) && IsDialogBox(window)) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// `window`'s modal windows from the first to the last; returns how many.
int ModalChain(HWND window, HWND (&chain)[kMaxModalDepth]) {
    int count = 0;
    for (HWND over = window; count < kMaxModalDepth && (over = ModalWindowOver(over)) != nullptr;) {
        chain[count++] = over;
    }
    return count;
}

}  // namespace

HWND InputWindow(HWND window) {
    if (window == nullptr) {
        return nullptr;
    }
    HWND chain[kMaxModalDepth] = {};
    const int count = ModalChain(window, chain);
    return count > 0 ? chain[count - 1] : window;
}

void CancelModalWindows(HWND window) {
    if (window == nullptr) {
        return;
    }
    HWND chain[kMaxModalDepth] = {};
    for (int i = ModalChain(window, chain) - 1; i >= 0; --i) {
        SendMessageW(chain[i], WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(chain[i], IDCANCEL)));
    }
}
