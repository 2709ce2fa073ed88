#include "desktop/colour_window.h"

#include <windows.h>

#include <atomic>

#include "common/failure_note.h"
#include "common/program.h"
#include "common/scoped_handle.h"
#include "common/solid_brush.h"
#include "common/system_library.h"
#include "desktop/shell_windows.h"
#include "desktop/window_thread.h"
#include "settings/settings.h"

namespace {

constexpr wchar_t kColourWindowClass[] = L"Test____2___2________7";
constexpr BYTE kOpaque = 255;

// The layered call is looked up once as the process starts; without it the layered window is
// never drawn, which is the quiet way for the feature to be missing.
const ColourWindowCalls systemCalls = {
    SetParent, UserFunction<ColourWindowCalls::SetLayeredAttributes>("SetLayeredWindowAttributes"), GetSystemMetrics};
ColourWindowCalls calls = systemCalls;

// The window and what it covers are made and changed on the colour window's own
// thread (colourThread, below); the program's threads read the handle and what it covers.
std::atomic<HWND> colourWindow{nullptr};

// What the window covers, in its parent's client coordinates: the client area of "Program
// Manager" for a child of it, the virtual screen for a pop-up (null host).
struct CoveredArea {
    HWND host;
    RECT rect;
};
CoveredArea covered = {};
SRWLOCK coveredLock = SRWLOCK_INIT;

CoveredArea Covered() {
    AcquireSRWLockShared(&coveredLock);
    const CoveredArea area = covered;
    ReleaseSRWLockShared(&coveredLock);
    return area;
}

LRESULT CALLBACK ColourWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
        case WM_DESTROY:
        case WM_SIZE:
        case WM_COMMAND:
            return 0;
        case WM_PAINT: {
            // The background erase has painted the colour already.
            ScopedPaint paint(window);
            return 0;
        }
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

// True when the class is there, registered now or by an earlier window.
bool RegisterColourWindowClass() {
    WNDCLASSW windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = ColourWindowProc;
    windowClass.hInstance = ProgramInstance();
    windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kColourWindowClass;
    return RegisterClassW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// Every tick while the icons are hidden tries again, the wallpaper showing meanwhile: one line
// says it.
void NoteColourWindowFailure(const wchar_t* call) {
    static bool noted = false;
    if (!noted) {
        noted = true;
        NoteFailure(call);
    }
}

RECT VirtualScreen() {
    const int left = calls.systemMetric(SM_XVIRTUALSCREEN);
    const int top = calls.systemMetric(SM_YVIRTUALSCREEN);
    return RECT{left, top, left + calls.systemMetric(SM_CXVIRTUALSCREEN), top + calls.systemMetric(SM_CYVIRTUALSCREEN)};
}

// The host's client area, so the window keeps to whatever coordinates (and DPI scaling) the
// host's process gives it; the virtual screen for a pop-up.
bool AreaToCover(HWND host, RECT* area) {
    if (host == nullptr) {
        *area = VirtualScreen();
        return true;
    }
    return GetClientRect(host, area) != 0;
}

void Cover(HWND window, HWND host, const RECT& area) {
    SetWindowPos(window, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    AcquireSRWLockExclusive(&coveredLock);
    covered = CoveredArea{host, area};
    ReleaseSRWLockExclusive(&coveredLock);
}

void SetStyleBits(HWND window, int index, LONG_PTR clear, LONG_PTR set) {
    SetWindowLongPtrW(window, index, (GetWindowLongPtrW(window, index) & ~clear) | set);
}

// Fully opaque, and read back: a system that gives no child window layers (Windows 7, or one
// that takes the program for a Vista/7 program) refuses the call or drops the layered style.
bool MadeOpaque(HWND window) {
    if (calls.setLayeredAttributes == nullptr) {
        return true;
    }
    BYTE alpha = 0;
    DWORD flags = 0;
    return calls.setLayeredAttributes(window, 0, kOpaque, LWA_ALPHA) != 0 &&
           GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) != 0 && (flags & LWA_ALPHA) != 0 &&
           alpha == kOpaque;
}

// A true child of "Program Manager": WS_CHILD before the move, as SetParent leaves the style
// alone, and placed in the parent's client coordinates (the pop-up's screen coordinates would
// be taken as client coordinates, counting a negative virtual-screen origin twice).
bool MovedIntoDesktop(HWND window, HWND desktop) {
    SetStyleBits(window, GWL_STYLE, WS_POPUP, WS_CHILD);
    calls.setParent(window, desktop);
    RECT area = {};
    if (GetAncestor(window, GA_PARENT) != desktop || (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) == 0 ||
        !AreaToCover(desktop, &area)) {
        return false;
    }
    Cover(window, desktop, area);
    return MadeOpaque(window);
}

// Back to an unparented pop-up over the virtual screen, layered and click-through again.
bool MadePopup(HWND window) {
    if (GetAncestor(window, GA_PARENT) != GetDesktopWindow()) {
        calls.setParent(window, nullptr);
    }
    SetStyleBits(window, GWL_STYLE, WS_CHILD, WS_POPUP);
    SetStyleBits(window, GWL_EXSTYLE, 0, WS_EX_LAYERED | WS_EX_TRANSPARENT);
    if (GetAncestor(window, GA_PARENT) != GetDesktopWindow()) {
        return false;
    }
    Cover(window, nullptr, VirtualScreen());
    return MadeOpaque(window);
}

// Layered and transparent: WindowFromPoint passes over it, so clicks reach the shell's desktop
// view and the engine still finds the empty desktop under the cursor. Inside "Program
// Manager" when the move works all through; otherwise a pop-up below every program
// (PlaceColourWindow). No notice goes to the shell's window when it is destroyed.
HWND CreateColourWindow(int colour) {
    HWND desktop = FindWindowW(nullptr, kProgramManagerTitle);
    if (!RegisterColourWindowClass()) {
        NoteColourWindowFailure(L"RegisterClass (colour window)");
        return nullptr;
    }
    const RECT screen = VirtualScreen();
    HWND window = CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOPARENTNOTIFY, kColourWindowClass, L"",
                                  WS_POPUP, screen.left, screen.top, screen.right - screen.left,
                                  screen.bottom - screen.top, nullptr, nullptr, ProgramInstance(), nullptr);
    if (window == nullptr) {
        NoteColourWindowFailure(L"CreateWindowEx (colour window)");
        return nullptr;
    }
    // The class background: the colour's brush, kept for the next window of that colour.
    SetClassLongPtrW(window, GCLP_HBRBACKGROUND,
                     reinterpret_cast<LONG_PTR>(SolidBrushFor(static_cast<COLORREF>(colour))));
    if (desktop != nullptr && MovedIntoDesktop(window, desktop)) {
        return window;
    }
    if (!MadePopup(window)) {
        // Not layered, it would catch the clicks meant for the desktop: no colour then.
        NoteColourWindowFailure(L"SetLayeredWindowAttributes (colour window)");
        DestroyWindow(window);
        return nullptr;
    }
    return window;
}

bool Topmost(HWND window) {
    return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

// The shell's top-level desktop windows: "Program Manager" and its "WorkerW" windows.
bool HasShellDesktopClass(HWND window) {
    wchar_t className[16] = L"";
    GetClassNameW(window, className, 16);
    return lstrcmpW(className, kWorkerClass) == 0 || lstrcmpW(className, kProgramManagerClass) == 0;
}

// Where a colour window without "Program Manager" goes: just above the top-level window that
// holds the desktop view and the shell's desktop windows right above it, so that it covers
// the wallpaper and no program; with no desktop view, or one in a topmost window, to the very
// bottom. Never above a program, never topmost. Null when it is in its place already.
HWND PopupInsertAfter(HWND window, HWND view) {
    HWND host = view != nullptr ? GetAncestor(view, GA_ROOT) : nullptr;
    if (host == nullptr || host == window || Topmost(host)) {
        return HWND_BOTTOM;
    }
    HWND above = GetWindow(host, GW_HWNDPREV);
    while (above != nullptr && above != window && HasShellDesktopClass(above)) {
        above = GetWindow(above, GW_HWNDPREV);
    }
    if (above == window) {
        return nullptr;
    }
    // The desktop leads the ordinary windows: the top of them is just above it.
    return above == nullptr || Topmost(above) ? HWND_TOP : above;
}

// A child of "Program Manager" goes to the top of its siblings, above the desktop view; a
// pop-up below every program.
void PlaceColourWindow(HWND window, HWND desktopView) {
    UINT flags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW;
    HWND insertAfter = HWND_TOP;
    if (GetAncestor(window, GA_PARENT) == GetDesktopWindow()) {
        insertAfter = PopupInsertAfter(window, desktopView);
        if (insertAfter == nullptr) {
            flags |= SWP_NOZORDER;
        }
    }
    SetWindowPos(window, insertAfter, 0, 0, 0, 0, flags);
}

// On the colour window's thread, like everything above.
void FitToDesktop() {
    HWND window = colourWindow.load();
    RECT area = {};
    // A host that has gone (a restarted shell) took the window with it: the next hiding makes
    // a new one.
    if (window == nullptr || !AreaToCover(covered.host, &area) || EqualRect(&area, &covered.rect) != 0) {
        return;
    }
    Cover(window, covered.host, area);
}

void ShowColourWindow(int colour, HWND desktopView) {
    HWND window = colourWindow.load();
    // A restarted shell destroyed the old one with its "Program Manager".
    if (window == nullptr || IsWindow(window) == 0) {
        window = CreateColourWindow(colour);
        colourWindow.store(window);
    }
    if (window != nullptr) {
        FitToDesktop();
        PlaceColourWindow(window, desktopView);
    }
}

void DestroyColourWindow() {
    HWND window = colourWindow.exchange(nullptr);
    if (window != nullptr && IsWindow(window) != 0) {
        calls.setParent(window, nullptr);
        DestroyWindow(window);
    }
}

enum ColourRequest : UINT { kShowRequest = WM_APP + 1, kFitRequest, kRemoveRequest };

void HandleColourRequest(UINT request, WPARAM wParam, LPARAM lParam) {
    switch (request) {
        case kShowRequest:
            ShowColourWindow(static_cast<int>(wParam), reinterpret_cast<HWND>(lParam));
            break;
        case kFitRequest:
            FitToDesktop();
            break;
        case kRemoveRequest:
            DestroyColourWindow();
            break;
        default:
            break;
    }
}

WindowThread colourThread(HandleColourRequest);
// What the colour window's thread takes for a request when the shell answers: far less than
// this. A thread that has not finished a request is not waited for again.
constexpr DWORD kColourRequestWaitMs = 200;

}  // namespace

void UpdateColourWindow(bool iconsVisible, HWND desktopView) {
    if (iconsVisible) {
        RemoveColourWindow();
        return;
    }
    if (settings.m_wallpaper_color == kNoWallpaperColour) {
        return;
    }
    colourThread.Ask(kShowRequest, static_cast<WPARAM>(static_cast<DWORD>(settings.m_wallpaper_color)),
                     reinterpret_cast<LPARAM>(desktopView), kColourRequestWaitMs);
}

void FitColourWindowToDisplay() {
    if (colourWindow.load() != nullptr) {
        colourThread.Ask(kFitRequest, 0, 0, kColourRequestWaitMs);
    }
}

void FitColourWindowToShellDesktop() {
    if (colourWindow.load() == nullptr) {
        return;
    }
    const CoveredArea area = Covered();
    RECT now = {};
    if (area.host != nullptr && GetClientRect(area.host, &now) != 0 && EqualRect(&now, &area.rect) == 0) {
        colourThread.Ask(kFitRequest, 0, 0, kColourRequestWaitMs);
    }
}

void UseColourWindowCalls(const ColourWindowCalls* replacement) {
    calls = replacement != nullptr ? *replacement : systemCalls;
}

void RemoveColourWindow() {
    // Any thread: the end of the program after a crash too.
    if (colourThread.Started()) {
        colourThread.Ask(kRemoveRequest, 0, 0, kColourRequestWaitMs);
    }
}
