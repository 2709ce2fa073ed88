#include "dialog/more_options_menu.h"

#include "common/scoped_handle.h"
#include "dialog/colour_choice.h"
#include "dialog/dialog_controls.h"
#include "dialog/hot_key_dialog.h"
#include "lang/language_pack.h"
#include "lang/text_ids.h"
#include "resource_ids.h"
#include "settings/settings.h"

namespace {

struct MenuEntry {
    UINT command;  // 0: a separator
    int text;      // a TextId; 0: the colour and hot-key items, whose texts carry their values
};

constexpr MenuEntry kEntries[] = {
    {IDC_HIDE_BY_MIDDLE, kTextHideViaMiddleMouseButton},
    {IDC_SHOW_BY_WIN_D, kTextIconsVisibleWinD},
    {IDC_SHOW_BY_MOUSE_MOVE, kTextShowIconsWhenTheMouseMoves},
    {0, 0},
    {IDC_HIDE_AT_START, kTextHideIconsAtProgramStart},
    {IDM_HIDE_TASKBAR_RULE, kTextHideTaskbarWhenIconsHide},
    {0, 0},
    {IDM_DESKTOP_COLOUR, 0},
    {IDM_HOTKEY, 0},
    {IDM_HIDE_BY_DOUBLE_CLICK, kTextHideByDoubleClick},
};

bool ItemChecked(const Settings& record, UINT command) {
    switch (command) {
        case IDC_HIDE_AT_START:
            return record.hide_at_programstart != 0;
        case IDC_HIDE_BY_MIDDLE:
            return record.hide_icons_by_m_mouse != 0;
        case IDC_SHOW_BY_WIN_D:
            return record.show_icons_win_d != 0;
        case IDC_SHOW_BY_MOUSE_MOVE:
            return record.show_icons_mouse_move != 0;
        case IDM_HIDE_TASKBAR_RULE:
            return record.task_bar_ico_rule != 0;
        case IDM_DESKTOP_COLOUR:
            return record.m_wallpaper_color != kNoWallpaperColour;
        case IDM_HIDE_BY_DOUBLE_CLICK:
            return record.hide_icons_by_dblclick != 0;
        default:
            return false;
    }
}

Text EntryText(const MenuEntry& entry) {
    switch (entry.command) {
        case IDM_DESKTOP_COLOUR:
            return ColourMenuText();
        case IDM_HOTKEY:
            return HotKeyMenuText();
        default:
            return Text(GetText(entry.text));
    }
}

}  // namespace

HMENU BuildMoreOptionsMenu() {
    HMENU menu = CreatePopupMenu();
    for (const MenuEntry& entry : kEntries) {
        if (entry.command == 0) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        Text text = EntryText(entry);
        AppendMenuW(menu, MF_STRING, entry.command, text.c_str());
        UINT check = ItemChecked(settings, entry.command) ? MF_CHECKED : MF_UNCHECKED;
        CheckMenuItem(menu, entry.command, MF_BYCOMMAND | check);
    }
    return menu;
}

void ShowMoreOptionsMenu(HWND dialog) {
    ScopedMenu menu(BuildMoreOptionsMenu());
    RECT button = {};
    GetWindowRect(GetDlgItem(dialog, IDC_MORE_OPTIONS), &button);
    UINT command = static_cast<UINT>(
        TrackPopupMenu(menu.Get(), TPM_RETURNCMD, button.left, button.bottom, 0, dialog, nullptr));
    if (command == 0) {
        return;  // dismissed
    }
    // The hidden check boxes hold these options; the items without one work from the
    // settings alone.
    if (GetDlgItem(dialog, static_cast<int>(command)) != nullptr) {
        SetCheckBox(dialog, static_cast<int>(command), CheckBoxValue(dialog, static_cast<int>(command)) == 0 ? 1 : 0);
    }
    SendMessageW(dialog, WM_COMMAND, command, 0);
}
