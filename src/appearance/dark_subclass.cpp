#include "appearance/dark_subclass.h"

#include <commctrl.h>

#include <cwchar>

#include "appearance/background_fill.h"
#include "appearance/dark_mode.h"
#include "appearance/dark_mode_api.h"
#include "appearance/dark_painting.h"
#include "appearance/window_theme.h"
#include "common/foreign_messages.h"
#include "common/solid_brush.h"
#include "common/window_subclass.h"
#include "settings/settings.h"

namespace {

constexpr int kHeaderItemPart = 1;
constexpr int kThemeFillColour = 3802;
constexpr int kThemeTextColour = 3803;
constexpr DWORD kDarkListViewStyles = LVS_EX_DOUBLEBUFFER | LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP;

// Taken from the theme when a list view is set up; the headers draw their items in it. White
// until then, and for good where the "Header" theme cannot be read: the background is dark.
COLORREF headerTextColour = 0xFFFFFF;

bool IsToolbar(HWND window) {
    wchar_t className[32] = L"";
    GetClassNameW(window, className, 32);
    return wcscmp(className, L"ToolbarWindow32") == 0;  // case matters: only the common control
}

// The custom draw record of a trusted WM_NOTIFY, `size` bytes long, or null.
NMCUSTOMDRAW* CustomDrawOf(HWND window, UINT message, LPARAM lParam, size_t size) {
    NMHDR* header = message == WM_NOTIFY ? TrustedNotification(window, lParam, size) : nullptr;
    if (header == nullptr || header->code != static_cast<UINT>(NM_CUSTOMDRAW)) {
        return nullptr;
    }
    return reinterpret_cast<NMCUSTOMDRAW*>(header);
}

LRESULT CALLBACK DarkDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (IsForeignNotification(dialog, message, lParam)) {
        return 0;
    }
    // Turned light while the program runs: the dialog's own colours again.
    if (!IsDarkModeActive()) {
        return PassToWindow(dialog, message, wParam, lParam, DarkDialogProc);
    }
    if (NMCUSTOMDRAW* draw = CustomDrawOf(dialog, message, lParam, sizeof(NMTBCUSTOMDRAW));
        draw != nullptr && IsToolbar(draw->hdr.hwndFrom)) {
        if (auto answer = DarkToolbarCustomDraw(*reinterpret_cast<NMTBCUSTOMDRAW*>(draw))) {
            return *answer;
        }
    }
    if (message == WM_INITDIALOG) {
        AllowDarkModeForWindow(dialog, TRUE);
        RefreshTitleBarTheme(dialog);
    } else if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        // Answered here, so the dialog's own colour handling never sees these.
        auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, kDarkText);
        SetBkColor(dc, kDarkBackground);
        return reinterpret_cast<LRESULT>(DarkBackgroundBrush());
    }
    return PassToWindow(dialog, message, wParam, lParam, DarkDialogProc);
}

LRESULT CALLBACK DarkListViewProc(HWND listView, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (IsForeignNotification(listView, message, lParam)) {
        return 0;
    }
    if (NMCUSTOMDRAW* draw = CustomDrawOf(listView, message, lParam, sizeof(NMCUSTOMDRAW))) {
        if (draw->dwDrawStage == CDDS_PREPAINT) {
            return CDRF_NOTIFYITEMDRAW;
        }
        if (draw->dwDrawStage == CDDS_ITEMPREPAINT) {
            SetTextColor(draw->hdc, headerTextColour);
            return CDRF_DODEFAULT;
        }
    }
    return PassToWindow(listView, message, wParam, lParam, DarkListViewProc);
}

LRESULT CALLBACK DarkRebarProc(HWND rebar, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message != WM_ERASEBKGND || !IsDarkModeActive()) {
        return PassToWindow(rebar, message, wParam, lParam, DarkRebarProc);
    }
    auto dc = reinterpret_cast<HDC>(wParam);
    RECT clip = {};
    RECT client = {};
    GetClipBox(dc, &clip);
    GetClientRect(rebar, &client);
    PaintRebarBackground(dc, clip, client, settings.soft_paint != 0);
    return 1;
}

LRESULT CALLBACK DarkStatusBarProc(HWND statusBar, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    switch (message) {
        case WM_PAINT:
            PassToWindow(statusBar, message, wParam, lParam, DarkStatusBarProc);
            RepaintStatusBarText(statusBar);
            return 1;
        case WM_ERASEBKGND:
            // The status bar sits on a child window; the dialog beneath that draws the background.
            if (GetParent(GetParent(statusBar)) != nullptr) {
                return EraseWithGrandparent(statusBar, reinterpret_cast<HDC>(wParam));
            }
            break;
        default:
            break;
    }
    return PassToWindow(statusBar, message, wParam, lParam, DarkStatusBarProc);
}

void ApplyDarkTheme(HWND window, const wchar_t* subAppName) {
    AllowDarkModeForWindow(window, TRUE);
    ApplyWindowTheme(window, subAppName, nullptr);
}

void ReadHeaderTextColour(HWND header) {
    const themes::ScopedTheme theme(themes::OpenThemeData(header, L"Header"));
    if (!theme) {
        return;
    }
    COLORREF colour = 0;
    if (SUCCEEDED(themes::GetThemeColor(theme.Get(), kHeaderItemPart, 0, kThemeTextColour, &colour))) {
        headerTextColour = colour;
    }
}

void TakeItemsViewColours(HWND listView, HWND header) {
    const themes::ScopedTheme theme(themes::OpenThemeData(header, L"ItemsView"));
    if (!theme) {
        return;
    }
    COLORREF colour = 0;
    if (SUCCEEDED(themes::GetThemeColor(theme.Get(), 0, 0, kThemeTextColour, &colour))) {
        SendMessageW(listView, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(colour));
    }
    if (SUCCEEDED(themes::GetThemeColor(theme.Get(), 0, 0, kThemeFillColour, &colour))) {
        SendMessageW(listView, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(colour));
        SendMessageW(listView, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(colour));
    }
}

}  // namespace

HBRUSH DarkBackgroundBrush() {
    return SolidBrushFor(kDarkBackground);
}

void SubclassDarkDialog(HWND dialog) {
    AttachSubclass(dialog, DarkDialogProc, nullptr);
}

void SetUpDarkListView(HWND listView) {
    if (!IsDarkModeActive()) {
        return;
    }
    auto header = reinterpret_cast<HWND>(SendMessageW(listView, LVM_GETHEADER, 0, 0));
    // Posted: the list view is still being created and takes them once it exists.
    PostMessageW(listView, LVM_SETTEXTBKCOLOR, 0, 0);
    PostMessageW(listView, LVM_SETBKCOLOR, 0, 0);
    PostMessageW(listView, LVM_SETTEXTCOLOR, 0, 0xFFFFFF);
    SendMessageW(listView, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, kDarkListViewStyles);
    ApplyDarkTheme(header, L"ItemsView");
    ApplyDarkTheme(listView, L"Explorer");
    ReadHeaderTextColour(header);
    TakeItemsViewColours(listView, header);
    SendMessageW(listView, WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
    AttachSubclass(listView, DarkListViewProc, nullptr);
}

void SubclassDarkRebar(HWND rebar) {
    AllowDarkModeForWindow(rebar, TRUE);
    AttachSubclass(rebar, DarkRebarProc, nullptr);
}

void SubclassDarkStatusBar(HWND statusBar) {
    AllowDarkModeForWindow(statusBar, TRUE);
    SendMessageW(statusBar, SB_SETBKCOLOR, 0, static_cast<LPARAM>(kDarkBackground));
    AttachSubclass(statusBar, DarkStatusBarProc, nullptr);
}
