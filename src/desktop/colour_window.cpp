#include "desktop/colour_window.h"

#include <windows.h>

#include <atomic>

#include "common/failure_note.h"
#include "common/program.h"
#include "common/scoped_handle.h"
#include "settings/settings.h"

namespace {

constexpr wchar_t kColourWindowClass[] = L"Test____2___2________7";
constexpr BYTE kOpaque = 255;

using SetLayeredWindowAttributesFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

// Looked up once as the process starts; without it the layered window is never drawn, which
// is the quiet way for the feature to be missing.
SetLayeredWindowAttributesFn LookUpSetLayeredAttributes() {
    HMODULE user = GetModuleHandleW(L"USER32.DLL");
    if (user == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<SetLayeredWindowAttributesFn>(
        reinterpret_cast<void*>(GetProcAddress(user, "SetLayeredWindowAttributes")));
}

const SetLayeredWindowAttributesFn setLayeredAttributes = LookUpSetLayeredAttributes();

// Atomic because a crash on another thread removes the window too (see RemoveColourWindow).
std::atomic<HWND> colourWindow{nullptr};
// The class background of the colour window; the window of a later colour gets a new one.
ScopedGdiObject colourBrush;

LRESULT CALLBACK ColourWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
        case WM_DESTROY:
        case WM_SIZE:
        case WM_COMMAND:
            return 0;
        case WM_PAINT: {
            // The background erase has painted the colour already.
            PAINTSTRUCT paint;
            BeginPaint(window, &paint);
            EndPaint(window, &paint);
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

// Layered and transparent: WindowFromPoint passes over it, so clicks reach the shell's desktop
// view and the engine still finds the empty desktop under the cursor.
HWND CreateColourWindow(int colour) {
    HWND desktop = FindWindowW(nullptr, L"Program Manager");
    if (!RegisterColourWindowClass()) {
        NoteColourWindowFailure(L"RegisterClass (colour window)");
        return nullptr;
    }
    HWND window = CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT, kColourWindowClass, L"", WS_POPUP,
                                  GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                                  GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN), nullptr,
                                  nullptr, ProgramInstance(), nullptr);
    if (window == nullptr) {
        NoteColourWindowFailure(L"CreateWindowEx (colour window)");
        return nullptr;
    }
    colourBrush.Reset(CreateSolidBrush(static_cast<COLORREF>(colour)));
    SetClassLongPtrW(window, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(colourBrush.Get()));
    // Without a "Program Manager" it stays an unparented pop-up over the virtual screen, below
    // every program (PlaceColourWindow).
    SetParent(window, desktop);
    if (setLayeredAttributes != nullptr) {
        setLayeredAttributes(window, 0, kOpaque, LWA_ALPHA);
    }
    return window;
}

bool Topmost(HWND window) {
    return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

// The shell's top-level desktop windows: "Program Manager" and its "WorkerW" windows.
bool IsDesktopWindow(HWND window) {
    wchar_t className[16] = L"";
    GetClassNameW(window, className, 16);
    return lstrcmpW(className, L"WorkerW") == 0 || lstrcmpW(className, L"Progman") == 0;
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
    while (above != nullptr && above != window && IsDesktopWindow(above)) {
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

}  // namespace

void UpdateColourWindow(bool iconsVisible, HWND desktopView) {
    if (iconsVisible) {
        RemoveColourWindow();
        return;
    }
    if (settings.m_wallpaper_color == kNoWallpaperColour) {
        return;
    }
    HWND window = colourWindow.load();
    // A restarted shell destroyed the old one with its "Program Manager".
    if (window == nullptr || IsWindow(window) == 0) {
        window = CreateColourWindow(settings.m_wallpaper_color);
        colourWindow.store(window);
    }
    if (window != nullptr) {
        PlaceColourWindow(window, desktopView);
    }
}

void RemoveColourWindow() {
    HWND window = colourWindow.exchange(nullptr);
    if (window == nullptr || IsWindow(window) == 0) {
        return;
    }
    // Only the thread that made a window can destroy it. A crash on another thread hides it
    // without waiting for the GUI thread; the ending process takes it away.
    if (GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId()) {
        ShowWindowAsync(window, SW_HIDE);
        return;
    }
    SetParent(window, nullptr);
    DestroyWindow(window);
}
