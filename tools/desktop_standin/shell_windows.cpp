#include "shell_windows.h"

#include <vector>

#include "control_window.h"
#include "desktop_view.h"
#include "shell_zorder.h"
#include "wallpaper.h"

namespace standin {

namespace {

constexpr wchar_t kProgmanClass[] = L"Progman";
constexpr wchar_t kProgmanTitle[] = L"Program Manager";
constexpr wchar_t kWorkerClass[] = L"WorkerW";
constexpr wchar_t kOwnerClass[] = L"VelmoraStandinOwner";
constexpr DWORD kTopLevelStyle = WS_POPUP | WS_CLIPCHILDREN;
constexpr DWORD kTopLevelExStyle = WS_EX_TOOLWINDOW;
// The stacking order is checked (and mended) this often for the life of the windows, and
// must have held this many checks in a row after the icons are placed before the desktop
// counts as ready.
constexpr UINT_PTR kStackingWatchTimerId = 1;
constexpr UINT kStackingWatchMs = 100;
constexpr int kSettledChecksBeforeReady = 3;

struct ShellWindows {
    HWND progman = nullptr;
    HWND emptyWorker = nullptr;
    HWND viewWorker = nullptr;
    HWND wallpaperWorker = nullptr;  // 24H2: the child of "Program Manager" after the view
    HWND defView = nullptr;
    ShellOrder order = {};
    bool iconsPlaced = false;
    bool readyReported = false;
    int settledChecks = 0;
    std::vector<HWND> hiddenWhenSettled;  // may lie under the desktop in X once shown
};

ShellWindows shell;
HWND owner = nullptr;  // lives as long as the process, hidden, always at the very bottom

RECT VirtualScreen() {
    int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return RECT{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

void SettleStacking() {
    LowerShellWindows(shell.order);
    RaiseWindowsAboveShell(shell.order);
    shell.hiddenWhenSettled = HiddenWindows(shell.order);
    shell.settledChecks = 0;
}

// Once raised, a window's X window stays above the desktop's, shown or hidden.
void RaiseWindowsShownSinceSettling() {
    auto& hidden = shell.hiddenWhenSettled;
    for (auto it = hidden.begin(); it != hidden.end();) {
        if (!IsWindow(*it)) {
            it = hidden.erase(it);
        } else if (IsWindowVisible(*it)) {
            RaiseWindowAndThoseAbove(*it);
            it = hidden.erase(it);
        } else {
            ++it;
        }
    }
}

void WatchStacking() {
    if (!ShellOrderIntact(shell.order)) {
        SettleStacking();
        return;
    }
    RaiseWindowsShownSinceSettling();
    if (shell.iconsPlaced && !shell.readyReported && ++shell.settledChecks >= kSettledChecksBeforeReady) {
        shell.readyReported = true;
        OnDesktopViewReady(shell.defView);
    }
}

void PaintPlain(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (dc != nullptr) {
        PaintWallpaper(dc, nullptr, paint.rcPaint);
        EndPaint(window, &paint);
    }
}

// The desktop's own children fill their host; another program's child (Velmora's colour
// window) is that program's business.
void FitChildrenToClient(HWND window) {
    RECT area = {};
    GetClientRect(window, &area);
    for (HWND child : {shell.defView, shell.wallpaperWorker}) {
        if (child != nullptr && GetParent(child) == window) {
            MoveWindow(child, 0, 0, area.right, area.bottom, TRUE);
        }
    }
}

LRESULT CALLBACK ShellTopLevelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_WINDOWPOSCHANGING:
            KeepShellOrder(shell.order, window, *reinterpret_cast<WINDOWPOS*>(lParam));
            return 0;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_TIMER:
            if (wParam == kStackingWatchTimerId && window == shell.progman) {
                WatchStacking();
            }
            return 0;
        case WM_SIZE:
            FitChildrenToClient(window);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            PaintPlain(window);
            return 0;
        case WM_CLOSE:
            return 0;  // the desktop is not closed by Alt+F4
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

bool RegisterTopLevelClass(HINSTANCE instance, const wchar_t* name) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = ShellTopLevelProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = name;
    return RegisterClassExW(&windowClass) != 0;
}

HWND CreateTopLevel(const wchar_t* className, const wchar_t* title) {
    RECT screen = VirtualScreen();
    return CreateWindowExW(kTopLevelExStyle, className, title, kTopLevelStyle, screen.left, screen.top,
                           screen.right - screen.left, screen.bottom - screen.top, owner, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

bool CreateOwner(HINSTANCE instance) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kOwnerClass;
    if (RegisterClassExW(&windowClass) == 0) {
        return false;
    }
    owner =
        CreateWindowExW(WS_EX_TOOLWINDOW, kOwnerClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    // Owned windows cannot go below their owner.
    SetWindowPos(owner, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return owner != nullptr;
}

// Bottom up, so that each window is shown (and gets its X window) above the one below it.
void ShowShellWindows() {
    for (auto it = shell.order.rbegin(); it != shell.order.rend(); ++it) {
        if (*it != nullptr && *it != shell.emptyWorker && *it != owner) {
            SetWindowPos(*it, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        }
    }
}

// A child "WorkerW" filling "Program Manager", below the desktop view (its procedure keeps it
// at the bottom of its siblings: it is in no stacking order).
HWND CreateWallpaperWorker(HWND progman) {
    RECT area = {};
    GetClientRect(progman, &area);
    HWND worker = CreateWindowExW(0, kWorkerClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, area.right,
                                  area.bottom, progman, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (worker != nullptr) {
        SetWindowPos(worker, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    return worker;
}

}  // namespace

bool StartShellWindows(HINSTANCE instance) {
    return RegisterTopLevelClass(instance, kProgmanClass) && RegisterTopLevelClass(instance, kWorkerClass) &&
           RegisterDesktopViewClass(instance) && CreateOwner(instance);
}

void EndShellWindows() {
    DestroyShellWindows();
    if (owner != nullptr) {
        DestroyWindow(owner);
        owner = nullptr;
    }
}

HWND ShellOwner() {
    return owner;
}

bool BuildShellWindows(Layout layout) {
    DestroyShellWindows();
    shell.progman = CreateTopLevel(kProgmanClass, kProgmanTitle);
    HWND host = shell.progman;
    if (layout == Layout::kWorkerW) {
        shell.emptyWorker = CreateTopLevel(kWorkerClass, L"");
        shell.viewWorker = CreateTopLevel(kWorkerClass, L"");
        host = shell.viewWorker;
        shell.order = {shell.emptyWorker, shell.viewWorker, shell.progman, owner};
    } else {
        shell.order = {shell.progman, owner, nullptr, nullptr};
    }
    if (host == nullptr || shell.progman == nullptr || (layout == Layout::kWorkerW && shell.emptyWorker == nullptr)) {
        return false;
    }
    shell.defView = CreateDesktopView(host);
    if (layout == Layout::kProgman24H2 && shell.defView != nullptr) {
        shell.wallpaperWorker = CreateWallpaperWorker(shell.progman);
        if (shell.wallpaperWorker == nullptr) {
            return false;
        }
    }
    LowerShellWindows(shell.order);
    ShowShellWindows();
    SetTimer(shell.progman, kStackingWatchTimerId, kStackingWatchMs, nullptr);
    return shell.defView != nullptr;
}

void DestroyShellWindows() {
    ShellWindows old = shell;
    // Cleared first, so that messages during destruction find no order to keep.
    shell = ShellWindows{};
    for (HWND window : {old.emptyWorker, old.viewWorker, old.progman}) {
        if (window != nullptr) {
            DestroyWindow(window);
        }
    }
}

HWND ShellDefView() {
    return shell.defView;
}

void OnDesktopIconsPlaced(HWND defView) {
    if (defView != nullptr && defView == shell.defView) {
        shell.iconsPlaced = true;
        SettleStacking();
    }
}

void FitShellWindowsToScreen() {
    RECT screen = VirtualScreen();
    for (HWND window : {shell.emptyWorker, shell.viewWorker, shell.progman}) {
        if (window != nullptr) {
            SetWindowPos(window, nullptr, screen.left, screen.top, screen.right - screen.left,
                         screen.bottom - screen.top, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}

}  // namespace standin
