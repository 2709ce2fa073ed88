#include "secondary_taskbars.h"

#include <array>

#include "common/scoped_handle.h"
#include "shell_windows.h"
#include "standin_protocol.h"

namespace standin {

namespace {

constexpr wchar_t kSecondaryTaskbarClass[] = L"Shell_SecondaryTrayWnd";
constexpr COLORREF kStripColour = RGB(28, 30, 42);
constexpr COLORREF kEdgeColour = RGB(72, 78, 104);
constexpr COLORREF kButtonColour = RGB(86, 140, 224);
constexpr int kButtonMargin = 8;
constexpr int kMaxExtent = 32768;  // rectangles beyond this are refused

struct Taskbars {
    int count = 0;
    std::array<HWND, kMaxSecondaryTaskbars> windows = {};
    std::array<RECT, kMaxSecondaryTaskbars> rects = {kDefaultSecondaryTaskbarRects[0],
                                                     kDefaultSecondaryTaskbarRects[1]};
};

Taskbars taskbars;

void FillColour(HDC dc, const RECT& area, COLORREF colour) {
    ScopedGdiObject brush(CreateSolidBrush(colour));
    FillRect(dc, &area, static_cast<HBRUSH>(brush.Get()));
}

// A dark strip with a lighter edge and a start-button square at its left end.
void PaintStrip(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (dc == nullptr) {
        return;
    }
    RECT area = {};
    GetClientRect(window, &area);
    FillColour(dc, area, kStripColour);
    FillColour(dc, RECT{area.left, area.top, area.right, area.top + 1}, kEdgeColour);
    FillColour(dc, RECT{area.left, area.bottom - 1, area.right, area.bottom}, kEdgeColour);
    int side = (area.bottom - area.top) - 2 * kButtonMargin;
    if (side > 0) {
        FillColour(dc, RECT{kButtonMargin, kButtonMargin, kButtonMargin + side, kButtonMargin + side}, kButtonColour);
    }
    EndPaint(window, &paint);
}

LRESULT CALLBACK SecondaryTaskbarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            PaintStrip(window);
            return 0;
        case WM_CLOSE:
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

// Shown without activation: a new strip must not take the foreground from the user.
HWND CreateStrip(const RECT& rect) {
    HWND strip = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kSecondaryTaskbarClass, L"",
                                 WS_POPUP, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                                 ShellOwner(), nullptr, GetModuleHandleW(nullptr), nullptr);
    if (strip != nullptr) {
        SetWindowPos(strip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    return strip;
}

bool SaneRect(const RECT& rect) {
    return rect.left < rect.right && rect.top < rect.bottom && rect.left > -kMaxExtent && rect.top > -kMaxExtent &&
           rect.right < kMaxExtent && rect.bottom < kMaxExtent;
}

}  // namespace

bool RegisterSecondaryTaskbarClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = SecondaryTaskbarProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kSecondaryTaskbarClass;
    return RegisterClassExW(&windowClass) != 0;
}

bool SetSecondaryTaskbarCount(int count) {
    if (count < 0 || count > kMaxSecondaryTaskbars) {
        return false;
    }
    taskbars.count = count;
    for (int i = 0; i < kMaxSecondaryTaskbars; ++i) {
        HWND& window = taskbars.windows[i];
        if (i < count && window == nullptr) {
            window = CreateStrip(taskbars.rects[i]);
        } else if (i >= count && window != nullptr) {
            DestroyWindow(window);
            window = nullptr;
        }
    }
    return true;
}

bool SetSecondaryTaskbarRect(int index, const RECT& rect) {
    if (index < 0 || index >= kMaxSecondaryTaskbars || !SaneRect(rect)) {
        return false;
    }
    taskbars.rects[index] = rect;
    if (HWND window = taskbars.windows[index]) {
        SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return true;
}

void RecreateSecondaryTaskbars() {
    int count = taskbars.count;
    DestroySecondaryTaskbars();
    SetSecondaryTaskbarCount(count);
}

void DestroySecondaryTaskbars() {
    for (HWND& window : taskbars.windows) {
        if (window != nullptr) {
            DestroyWindow(window);
            window = nullptr;
        }
    }
}

}  // namespace standin
