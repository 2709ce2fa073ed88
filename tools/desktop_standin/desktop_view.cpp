#include "desktop_view.h"

#include <commctrl.h>
#include <windowsx.h>

#include <memory>

#include "common/scoped_handle.h"
#include "context_menu.h"
#include "control_window.h"
#include "desktop_icons.h"
#include "hide_icons_setting.h"
#include "shell_windows.h"
#include "wallpaper.h"

namespace standin {

namespace {

constexpr wchar_t kDesktopViewClass[] = L"SHELLDLL_DefView";
constexpr WORD kToggleIconsCommand = 0x7402;  // 29698, what Explorer's desktop view answers
// Should the list view never paint (it always does under Wine), the icons are placed anyway.
constexpr UINT_PTR kFirstPaintTimeoutTimerId = 1;
constexpr UINT kFirstPaintTimeoutMs = 3000;

struct ViewState {
    HWND listView = nullptr;
    HIMAGELIST images = nullptr;
    ScopedGdiObject wallpaper;
    SIZE wallpaperSize = {};
    bool iconsPlaced = false;
};

ViewState* StateOf(HWND view) {
    return reinterpret_cast<ViewState*>(GetWindowLongPtrW(view, GWLP_USERDATA));
}

void RenderWallpaper(HWND view, ViewState& state) {
    RECT area = {};
    GetClientRect(view, &area);
    if (state.wallpaper && state.wallpaperSize.cx == area.right && state.wallpaperSize.cy == area.bottom) {
        return;
    }
    state.wallpaper.Reset(CreateWallpaper(area.right, area.bottom));
    state.wallpaperSize = SIZE{area.right, area.bottom};
}

void PaintBackground(HWND view, HDC dc, const RECT& area) {
    ViewState* state = StateOf(view);
    PaintWallpaper(dc, state != nullptr ? static_cast<HBITMAP>(state->wallpaper.Get()) : nullptr, area);
}

void OnPaint(HWND view) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(view, &paint);
    if (dc != nullptr) {
        PaintBackground(view, dc, paint.rcPaint);
        EndPaint(view, &paint);
    }
}

void OnPrintClient(HWND view, HDC dc) {
    RECT area = {};
    GetClientRect(view, &area);
    PaintBackground(view, dc, area);
}

void ShowIconsPerSetting(HWND listView) {
    if (listView != nullptr) {
        ShowWindow(listView, ReadHideIcons() ? SW_HIDE : SW_SHOW);
    }
}

// Explorer flips its setting and follows it with the list view's visibility.
void ToggleIcons(HWND view) {
    WriteHideIcons(!ReadHideIcons());
    if (ViewState* state = StateOf(view)) {
        ShowIconsPerSetting(state->listView);
    }
}

void PlaceIconsOnce(HWND view) {
    ViewState* state = StateOf(view);
    if (state == nullptr || state->iconsPlaced) {
        return;
    }
    state->iconsPlaced = true;
    KillTimer(view, kFirstPaintTimeoutTimerId);
    if (state->listView != nullptr) {
        PlaceDesktopIcons(state->listView);
        ShowIconsPerSetting(state->listView);
    }
    OnDesktopIconsPlaced(view);
}

void RenameSelectedIcon(HWND listView) {
    auto selected = static_cast<int>(SendMessageW(listView, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (selected >= 0) {
        SetFocus(listView);
        SendMessageW(listView, LVM_EDITLABELW, selected, 0);
    }
}

void OnCommand(HWND view, WORD command) {
    ViewState* state = StateOf(view);
    if (state == nullptr) {
        return;
    }
    switch (command) {
        case kToggleIconsCommand:
        case kShowIconsCommand:
            ToggleIcons(view);
            break;
        case kRefreshCommand:
            RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            break;
        case kRenameCommand:
            if (state->listView != nullptr) {
                RenameSelectedIcon(state->listView);
            }
            break;
        default:
            break;
    }
}

// The item under a screen point of the list view, or -1 for its background.
int IconAt(HWND listView, POINT screen) {
    LVHITTESTINFO hit = {};
    hit.pt = screen;
    ScreenToClient(listView, &hit.pt);
    return static_cast<int>(SendMessageW(listView, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

void OnContextMenu(HWND view, HWND source, LPARAM position) {
    ViewState* state = StateOf(view);
    if (state == nullptr) {
        return;
    }
    POINT at = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    if (position == -1) {  // from the keyboard
        GetCursorPos(&at);
    }
    HWND listView = state->listView;
    bool onIcon = listView != nullptr && source == listView && IconAt(listView, at) >= 0;
    UINT command = onIcon ? TrackIconMenu(view, at) : TrackDesktopMenu(view, at, IsWindowVisible(listView) != FALSE);
    AfterMenuClosed();
    // The menu's loop may have run anything; the view may be gone by now.
    if (command != 0 && IsWindow(view)) {
        OnCommand(view, static_cast<WORD>(command));
    }
}

// A click on an icon makes the desktop the foreground window, so that the keyboard reaches
// the icons (F2 renames one); a click on the empty desktop leaves the foreground alone.
LRESULT OnMouseActivate(HWND view, WPARAM wParam, LPARAM lParam) {
    ViewState* state = StateOf(view);
    POINT cursor = {};
    GetCursorPos(&cursor);
    if (state != nullptr && state->listView != nullptr && IsWindowVisible(state->listView) &&
        IconAt(state->listView, cursor) >= 0) {
        return MA_ACTIVATE;
    }
    return DefWindowProcW(view, WM_MOUSEACTIVATE, wParam, lParam);
}

LRESULT OnNotify(HWND view, const NMHDR& header, LPARAM lParam) {
    switch (header.code) {
        case LVN_KEYDOWN:
            // The list view knows no F2: Explorer's view renames the selected icon itself,
            // once the key has been handled.
            if (reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey == VK_F2) {
                PostMessageW(view, WM_COMMAND, kRenameCommand, 0);
            }
            return 0;
        case LVN_BEGINLABELEDITW:
            return FALSE;  // allow editing
        case LVN_ENDLABELEDITW: {
            const auto* info = reinterpret_cast<const NMLVDISPINFOW*>(lParam);
            return info->item.pszText != nullptr && info->item.pszText[0] != L'\0';
        }
        default:
            return 0;
    }
}

void OnCreate(HWND view) {
    auto owned = std::make_unique<ViewState>();
    ViewState* state = owned.get();
    SetWindowLongPtrW(view, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owned.release()));
    RenderWallpaper(view, *state);
    state->images = CreateDesktopImageList();
    state->listView = CreateDesktopListView(view, state->images);
    SetTimer(view, kFirstPaintTimeoutTimerId, kFirstPaintTimeoutMs, nullptr);
}

void OnSize(HWND view, int width, int height) {
    ViewState* state = StateOf(view);
    if (state == nullptr) {
        return;
    }
    RenderWallpaper(view, *state);
    if (state->listView != nullptr) {
        MoveWindow(state->listView, 0, 0, width, height, TRUE);
    }
    InvalidateRect(view, nullptr, TRUE);
}

// Children are gone by now, so the image list the list view borrowed can go too.
void OnNcDestroy(HWND view) {
    std::unique_ptr<ViewState> state(StateOf(view));
    SetWindowLongPtrW(view, GWLP_USERDATA, 0);
    if (state != nullptr && state->images != nullptr) {
        ImageList_Destroy(state->images);
    }
}

LRESULT CALLBACK DesktopViewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnCreate(view);
            return 0;
        case WM_SIZE:
            OnSize(view, LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT covers everything
        case WM_PAINT:
            OnPaint(view);
            return 0;
        case WM_PRINTCLIENT:
            OnPrintClient(view, reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_COMMAND:
            OnCommand(view, LOWORD(wParam));
            return 0;
        case WM_MOUSEACTIVATE:
            return OnMouseActivate(view, wParam, lParam);
        case WM_CONTEXTMENU:
            OnContextMenu(view, reinterpret_cast<HWND>(wParam), lParam);
            return 0;
        case WM_NOTIFY:
            return OnNotify(view, *reinterpret_cast<const NMHDR*>(lParam), lParam);
        case kIconsPaintedMessage:
            PlaceIconsOnce(view);
            return 0;
        case WM_TIMER:
            if (wParam == kFirstPaintTimeoutTimerId) {
                PlaceIconsOnce(view);
            }
            return 0;
        case WM_NCDESTROY:
            OnNcDestroy(view);
            break;
        default:
            break;
    }
    return DefWindowProcW(view, message, wParam, lParam);
}

}  // namespace

bool RegisterDesktopViewClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = DesktopViewProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kDesktopViewClass;
    return RegisterClassExW(&windowClass) != 0;
}

HWND CreateDesktopView(HWND host) {
    RECT area = {};
    GetClientRect(host, &area);
    return CreateWindowExW(0, kDesktopViewClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0,
                           area.right, area.bottom, host, nullptr, GetModuleHandleW(nullptr), nullptr);
}

}  // namespace standin
