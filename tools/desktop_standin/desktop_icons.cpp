#include "desktop_icons.h"

#include <shellapi.h>

#include "common/scoped_handle.h"
#include "standin_protocol.h"

namespace standin {

namespace {

constexpr UINT_PTR kFirstPaintSubclassId = 1;
constexpr COLORREF kLabelColour = RGB(255, 255, 255);

// Icons are picked from shell32 by resource id (the negative index of ExtractIconEx):
// Wine's SHGetStockIconInfo hands out no icons.
struct DesktopItem {
    const wchar_t* label;
    int shellIconId;
};

constexpr DesktopItem kItems[kIconCount] = {
    {L"Recycle Bin", 33}, {L"This PC", 16},      {L"Network", 18},      {L"Documents", 235},
    {L"Projects", 4},     {L"Photos", 226},      {L"Music", 225},       {L"Downloads", 236},
    {L"Notes.txt", 2},    {L"Holiday.mp4", 224}, {L"Archive.zip", 165}, {L"Setup.exe", 3},
};

// The shell's icon, else the plain application icon (shared, so not ours to destroy).
void AddItemIcon(HIMAGELIST images, int shellIconId) {
    HICON extracted = nullptr;
    if (ExtractIconExW(L"shell32.dll", -shellIconId, &extracted, nullptr, 1) > 0 && extracted != nullptr) {
        ScopedIcon icon(extracted);
        if (ImageList_AddIcon(images, icon.Get()) >= 0) {
            return;
        }
    }
    ImageList_AddIcon(images, LoadIconW(nullptr, IDI_APPLICATION));
}

void InsertItems(HWND listView) {
    for (int i = 0; i < kIconCount; ++i) {
        LVITEMW item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = i;
        item.iImage = i;
        item.pszText = const_cast<wchar_t*>(kItems[i].label);
        SendMessageW(listView, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
}

LRESULT CALLBACK FirstPaintProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR) {
    if (message == WM_PAINT) {
        LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        PostMessageW(GetParent(window), kIconsPaintedMessage, 0, 0);
        RemoveWindowSubclass(window, FirstPaintProc, id);
        return result;
    }
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, FirstPaintProc, id);
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

HIMAGELIST CreateDesktopImageList() {
    HIMAGELIST images = ImageList_Create(kIconSize, kIconSize, ILC_COLOR32 | ILC_MASK, kIconCount, 0);
    if (images == nullptr) {
        return nullptr;
    }
    for (const DesktopItem& item : kItems) {
        AddItemIcon(images, item.shellIconId);
    }
    return images;
}

HWND CreateDesktopListView(HWND parent, HIMAGELIST images) {
    RECT area = {};
    GetClientRect(parent, &area);
    constexpr DWORD kStyle =
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | LVS_ICON | LVS_EDITLABELS | LVS_SHAREIMAGELISTS | LVS_NOSCROLL;
    HWND listView = CreateWindowExW(0, WC_LISTVIEWW, L"FolderView", kStyle, 0, 0, area.right, area.bottom, parent,
                                    nullptr, GetModuleHandleW(nullptr), nullptr);
    if (listView == nullptr) {
        return nullptr;
    }
    // The parent paints the wallpaper into the list view's background (WM_PRINTCLIENT).
    SendMessageW(listView, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_TRANSPARENTBKGND, LVS_EX_TRANSPARENTBKGND);
    SendMessageW(listView, LVM_SETBKCOLOR, 0, CLR_NONE);
    SendMessageW(listView, LVM_SETTEXTBKCOLOR, 0, CLR_NONE);
    SendMessageW(listView, LVM_SETTEXTCOLOR, 0, kLabelColour);
    SendMessageW(listView, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
    InsertItems(listView);
    SetWindowSubclass(listView, FirstPaintProc, kFirstPaintSubclassId, 0);
    return listView;
}

void PlaceDesktopIcons(HWND listView) {
    for (int i = 0; i < kIconCount; ++i) {
        POINT p = IconTopLeft(i);
        SendMessageW(listView, LVM_SETITEMPOSITION, i, MAKELPARAM(p.x, p.y));
    }
}

}  // namespace standin
