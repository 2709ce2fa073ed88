#include "appearance/menu_items.h"

#include <algorithm>
#include <new>

namespace {

constexpr int kItemTextCapacity = 100;

struct ReadItem {
    MENUITEMINFOW info = {};
    wchar_t text[kItemTextCapacity] = {};
};

bool ReadItemAt(HMENU menu, int position, ReadItem& item) {
    item.info.cbSize = sizeof(MENUITEMINFOW);
    item.info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_TYPE | MIIM_DATA;
    item.info.dwTypeData = item.text;
    item.info.cch = kItemTextCapacity;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &item.info)) {
        return false;
    }
    // For a bitmap item the system writes the bitmap into dwTypeData; the text is read from
    // the buffer itself, which is then empty.
    item.text[kItemTextCapacity - 1] = L'\0';
    return true;
}

std::unique_ptr<MenuItemRecord> MakeRecord(const ReadItem& item, const CommandImages& images) {
    std::unique_ptr<MenuItemRecord> record(new (std::nothrow) MenuItemRecord);
    if (record) {
        record->text = Text(item.text);
        record->type = item.info.fType;
        record->state = item.info.fState;
        record->imageIndex = images.IndexOf(item.info.wID);
        record->hasSubmenu = item.info.hSubMenu != nullptr;
    }
    return record;
}

bool WriteOwnerDrawn(HMENU menu, int position, ReadItem& item, const MenuItemRecord* record, MenuItemWriter write) {
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(MENUITEMINFOW);
    // Windows takes dwTypeData of an owner-drawn item written with MIIM_TYPE for the caller's
    // value and drops the text (Wine keeps it); written as a string of its own it stays with
    // the item, where screen readers and the menu's own letter keys find it.
    // MFT_BITMAP is refused beside MIIM_FTYPE (a bitmap item has no text anyway).
    info.fMask = MIIM_STATE | MIIM_FTYPE | MIIM_STRING | MIIM_DATA;
    info.fType = (item.info.fType & ~static_cast<UINT>(MFT_BITMAP)) | MFT_OWNERDRAW;
    info.fState = item.info.fState;
    info.dwTypeData = item.text;
    info.dwItemData = reinterpret_cast<ULONG_PTR>(record);
    return write(menu, static_cast<UINT>(position), TRUE, &info) != FALSE;
}

}  // namespace

int MenuItemRecords::Convert(HMENU menu, const CommandImages& images, MenuItemWriter write) {
    int converted = 0;
    for (int position = 0; position < GetMenuItemCount(menu); ++position) {
        ReadItem item;
        if (!ReadItemAt(menu, position, item) || (item.info.fType & MFT_OWNERDRAW) != 0) {
            continue;
        }
        std::unique_ptr<MenuItemRecord> record = MakeRecord(item, images);
        if (!record || !WriteOwnerDrawn(menu, position, item, record.get(), write)) {
            continue;  // the system keeps drawing this item
        }
        EntryFor(menu).records.push_back(std::move(record));
        ++converted;
    }
    return converted;
}

void MenuItemRecords::MeasureAgain(MenuItemWriter write) {
    for (const ConvertedMenu& entry : menus_) {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE;
        if (GetMenuItemInfoW(entry.menu, 0, TRUE, &info)) {
            write(entry.menu, 0, TRUE, &info);
        }
    }
}

const MenuItemRecord* MenuItemRecords::Find(ULONG_PTR itemData) const {
    // Compared as addresses before anything is read through them: another item's data may be
    // any number at all.
    for (const ConvertedMenu& entry : menus_) {
        for (const auto& record : entry.records) {
            if (reinterpret_cast<ULONG_PTR>(record.get()) == itemData && record->marker == kMenuItemMarker) {
                return record.get();
            }
        }
    }
    return nullptr;
}

void MenuItemRecords::ForgetDestroyedMenus() {
    menus_.erase(
        std::remove_if(menus_.begin(), menus_.end(), [](const ConvertedMenu& entry) { return !IsMenu(entry.menu); }),
        menus_.end());
}

int MenuItemRecords::Count() const {
    size_t count = 0;
    for (const ConvertedMenu& entry : menus_) {
        count += entry.records.size();
    }
    return static_cast<int>(count);
}

MenuItemRecords::ConvertedMenu& MenuItemRecords::EntryFor(HMENU menu) {
    for (ConvertedMenu& entry : menus_) {
        if (entry.menu == menu) {
            return entry;
        }
    }
    menus_.push_back(ConvertedMenu{menu, {}});
    return menus_.back();
}
