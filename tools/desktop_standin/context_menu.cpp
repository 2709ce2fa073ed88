#include "context_menu.h"

#include <initializer_list>

#include "common/scoped_handle.h"

namespace standin {

namespace {

// Items without an effect: harmless to choose.
constexpr UINT kInertCommand = 0x7500;

int openMenus = 0;

struct MenuItem {
    const wchar_t* text;  // null: a separator
    UINT id = kInertCommand;
    bool checked = false;
};

bool AppendItem(HMENU menu, const MenuItem& item) {
    if (item.text == nullptr) {
        return AppendMenuW(menu, MF_SEPARATOR, 0, nullptr) != FALSE;
    }
    UINT flags = MF_STRING | (item.checked ? MF_CHECKED : MF_UNCHECKED);
    return AppendMenuW(menu, flags, item.id, item.text) != FALSE;
}

// A popup holding `items`, or null.
HMENU BuildPopup(std::initializer_list<MenuItem> items) {
    ScopedMenu menu(CreatePopupMenu());
    if (!menu) {
        return nullptr;
    }
    for (const MenuItem& item : items) {
        AppendItem(menu.Get(), item);
    }
    return menu.Release();
}

// The parent takes ownership of `child` once appended; until then it is destroyed here.
void AppendSubmenu(HMENU parent, HMENU child, const wchar_t* text) {
    ScopedMenu owned(child);
    if (owned && AppendMenuW(parent, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(owned.Get()), text)) {
        owned.Release();
    }
}

HMENU BuildNewMenu() {
    HMENU menu = BuildPopup({{L"Folder"}, {L"Shortcut"}, {nullptr}});
    if (menu != nullptr) {
        AppendSubmenu(menu, BuildPopup({{L"Text Document"}, {L"Rich Text Document"}, {L"Bitmap image"}}), L"Document");
        AppendItem(menu, {L"Compressed (zipped) Folder"});
    }
    return menu;
}

HMENU BuildBackgroundMenu(bool iconsShown) {
    ScopedMenu menu(CreatePopupMenu());
    if (!menu) {
        return nullptr;
    }
    AppendSubmenu(menu.Get(),
                  BuildPopup({{L"Large icons"},
                              {L"Medium icons", kInertCommand, true},
                              {L"Small icons"},
                              {nullptr},
                              {L"Auto arrange icons"},
                              {L"Align icons to grid", kInertCommand, true},
                              {nullptr},
                              {L"Show desktop icons", kShowIconsCommand, iconsShown}}),
                  L"View");
    AppendSubmenu(menu.Get(), BuildPopup({{L"Name"}, {L"Size"}, {L"Item type"}, {L"Date modified"}}), L"Sort by");
    AppendItem(menu.Get(), {L"Refresh", kRefreshCommand});
    AppendItem(menu.Get(), {nullptr});
    AppendSubmenu(menu.Get(), BuildNewMenu(), L"New");
    AppendItem(menu.Get(), {nullptr});
    AppendItem(menu.Get(), {L"Display settings"});
    AppendItem(menu.Get(), {L"Personalize"});
    return menu.Release();
}

UINT Track(HWND owner, HMENU menu, POINT at) {
    if (menu == nullptr) {
        return 0;
    }
    // The owner has to be the foreground window, or the menu does not close when the user
    // clicks elsewhere or presses Escape.
    SetForegroundWindow(GetAncestor(owner, GA_ROOT));
    ++openMenus;
    UINT command = static_cast<UINT>(
        TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x,
                         at.y, owner, nullptr));
    --openMenus;
    return command;
}

}  // namespace

UINT TrackDesktopMenu(HWND owner, POINT at, bool iconsShown) {
    ScopedMenu menu(BuildBackgroundMenu(iconsShown));
    return Track(owner, menu.Get(), at);
}

UINT TrackIconMenu(HWND owner, POINT at) {
    ScopedMenu menu(BuildPopup({{L"Open"}, {L"Rename", kRenameCommand}, {nullptr}, {L"Properties"}}));
    return Track(owner, menu.Get(), at);
}

bool IsDesktopMenuOpen() {
    return openMenus > 0;
}

}  // namespace standin
