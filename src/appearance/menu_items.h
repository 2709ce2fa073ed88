// Switching a popup's items to owner drawing: each item gets a record of what the system would
// have drawn (text, type, state, picture), and the records are kept until their menu is gone.
#pragma once
#include <windows.h>

#include <memory>
#include <vector>

#include "appearance/menu_images.h"
#include "common/text.h"

// The first field of every record: item data that does not start with it is not ours.
inline constexpr DWORD kMenuItemMarker = 0x1313;

struct MenuItemRecord {
    DWORD marker = kMenuItemMarker;
    Text text;            // as the item had it, an accelerator after a TAB
    UINT type = 0;        // fType before the conversion
    UINT state = 0;       // fState at the conversion
    int imageIndex = -1;  // into the bar's CommandImages
    bool hasSubmenu = false;
};

// How an item is written back: SetMenuItemInfoW, or in a test a stand-in that answers as
// Windows does where Wine is lenient.
using MenuItemWriter = BOOL(WINAPI*)(HMENU, UINT, BOOL, LPCMENUITEMINFOW);

// Owns the records of every converted menu.
class MenuItemRecords {
  public:
    MenuItemRecords() = default;
    MenuItemRecords(const MenuItemRecords&) = delete;
    MenuItemRecords& operator=(const MenuItemRecords&) = delete;

    // Converts the items of `menu` that are not owner-drawn yet; returns how many it converted.
    int Convert(HMENU menu, const CommandImages& images, MenuItemWriter write = SetMenuItemInfoW);

    // Has the system measure the converted menus' items again the next time each opens (it
    // keeps an owner-drawn item's size once measured, until the menu changes): writes each
    // menu's first item back as it is. For a menu about to open at another DPI.
    void MeasureAgain(MenuItemWriter write = SetMenuItemInfoW);

    // The record behind an item's data, or null when the data is anything else.
    const MenuItemRecord* Find(ULONG_PTR itemData) const;

    // Frees the records of menus that have been destroyed since they were converted. Menus
    // are destroyed by their owners (the bar replacing its menu, the language menu after it
    // closes) without telling anyone, so the records are let go once the handle is dead.
    void ForgetDestroyedMenus();

    int Count() const;

  private:
    struct ConvertedMenu {
        HMENU menu;
        std::vector<std::unique_ptr<MenuItemRecord>> records;
    };
    ConvertedMenu& EntryFor(HMENU menu);

    std::vector<ConvertedMenu> menus_;
};
