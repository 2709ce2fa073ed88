#include "desktop/shell_window_visibility.h"

#include <atomic>

namespace {

// A window property: kept by the window itself, so it survives a killed program and
// disappears with a restarted shell's windows.
constexpr wchar_t kHiddenMark[] = L"Velmora.HiddenByVelmora";
constexpr DWORD kLongestHideWaitMs = 1000;

std::atomic<bool> hidingStopped{false};
std::atomic<int> hidesUnderWay{0};
thread_local bool insideHide = false;

class HideUnderWay {
  public:
    HideUnderWay() {
        hidesUnderWay.fetch_add(1);
        insideHide = true;
    }
    ~HideUnderWay() {
        insideHide = false;
        hidesUnderWay.fetch_sub(1);
    }
    HideUnderWay(const HideUnderWay&) = delete;
    HideUnderWay& operator=(const HideUnderWay&) = delete;
};

}  // namespace

void HideShellWindow(HWND window) {
    HideUnderWay hide;
    if (hidingStopped.load()) {
        return;
    }
    // Marked before it hides: a kill in between leaves a visible window with a mark, which the
    // next run leaves alone.
    SetPropW(window, kHiddenMark, reinterpret_cast<HANDLE>(1));
    ShowWindow(window, SW_HIDE);
}

void ShowShellWindow(HWND window) {
    ShowWindow(window, SW_SHOW);
    RemovePropW(window, kHiddenMark);
}

bool HiddenByProgram(HWND window) {
    return window != nullptr && GetPropW(window, kHiddenMark) != nullptr;
}

void StopHidingForGood() {
    hidingStopped.store(true);
    // A crash inside a hide of this very thread must not wait for itself.
    const int ownHide = insideHide ? 1 : 0;
    const DWORD start = GetTickCount();
    while (hidesUnderWay.load() > ownHide && GetTickCount() - start < kLongestHideWaitMs) {
        Sleep(1);
    }
}

bool HidingStopped() {
    return hidingStopped.load();
}
