#include "dialog/mouse_options.h"

#include "dialog/dialog_controls.h"
#include "resource_ids.h"
#include "settings/settings.h"
#include "settings/settings_table.h"

namespace {

bool NoButtonShows(const Settings& record) {
    return record.show_icons_by_l_mouse == 0 && record.show_icons_by_r_mouse == 0 && record.show_icons_by_m_mouse == 0;
}

void SaveShowButtons(HWND dialog, const Settings& balanced) {
    SetCheckBox(dialog, IDC_SHOW_BY_LEFT, balanced.show_icons_by_l_mouse);
    SetCheckBox(dialog, IDC_SHOW_BY_MIDDLE, balanced.show_icons_by_m_mouse);
    SetCheckBox(dialog, IDC_SHOW_BY_RIGHT, balanced.show_icons_by_r_mouse);
    SaveSetting(&Settings::show_icons_by_l_mouse, balanced.show_icons_by_l_mouse);
    SaveSetting(&Settings::show_icons_by_m_mouse, balanced.show_icons_by_m_mouse);
    SaveSetting(&Settings::show_icons_by_r_mouse, balanced.show_icons_by_r_mouse);
}

}  // namespace

bool BalanceMouseSettings(Settings& record, int cause) {
    bool changed = false;
    if (record.hide_icons_by_m_mouse == 1 && record.show_icons_by_m_mouse == 1) {
        record.show_icons_by_m_mouse = 0;
        changed = true;
    }
    // The button that was switched off last hands over to a neighbour: left to middle,
    // middle to right, right to left.
    if (NoButtonShows(record)) {
        int* neighbour = nullptr;
        switch (cause) {
            case kLeftButtonChanged:
                neighbour = &record.show_icons_by_m_mouse;
                break;
            case kMiddleButtonChanged:
                neighbour = &record.show_icons_by_r_mouse;
                break;
            case kRightButtonChanged:
                neighbour = &record.show_icons_by_l_mouse;
                break;
            default:
                break;
        }
        if (neighbour != nullptr) {
            *neighbour = 1;
            changed = true;
        }
    }
    // A right click on the desktop is what opens its context menu.
    if (cause == kContextMenuChanged && record.show_icons_by_r_mouse == 0 && record.show_icons_by_contextmenu == 1) {
        record.show_icons_by_r_mouse = 1;
        changed = true;
    }
    return changed;
}

bool BalanceMouseOptions(HWND dialog, int cause) {
    Settings balanced = settings;
    bool changed = BalanceMouseSettings(balanced, cause);
    if (changed) {
        SaveShowButtons(dialog, balanced);
    }
    UpdateMouseOptionBoxes(dialog);
    return changed;
}

void UpdateMouseOptionBoxes(HWND dialog) {
    bool enabled = settings.m_disable == 0;
    EnableControl(dialog, IDC_SHOW_BY_LEFT, enabled);
    EnableControl(dialog, IDC_SHOW_BY_MIDDLE, enabled && settings.hide_icons_by_m_mouse == 0);
    EnableControl(dialog, IDC_SHOW_BY_RIGHT, enabled && settings.show_icons_by_contextmenu == 0);
    EnableControl(dialog, IDC_SHOW_BY_CONTEXT_MENU, enabled);
}
