#include "settings/settings_table.h"

#include "settings/ini_store.h"
#include "settings/writable_settings.h"

namespace {

constexpr SettingKey kKeys[kSettingKeyCount] = {
    {L"disable_dark_theme", &Settings::disable_dark_theme, SettingRead::kStartUp},
    {L"soft_paint", &Settings::soft_paint, SettingRead::kStartUp},
    {L"lng", &Settings::lng, SettingRead::kLanguage},
    {L"m_disable", &Settings::m_disable, SettingRead::kDialogDisable},
    {L"start_tray", &Settings::start_tray, SettingRead::kDialogInit},
    {L"tray_if_minimize", &Settings::tray_if_minimize, SettingRead::kDialogInit},
    {L"show_icons_by_l_mouse", &Settings::show_icons_by_l_mouse, SettingRead::kDialogInit},
    {L"show_icons_by_r_mouse", &Settings::show_icons_by_r_mouse, SettingRead::kDialogInit},
    {L"show_icons_by_contextmenu", &Settings::show_icons_by_contextmenu, SettingRead::kDialogInit},
    {L"m_wallpaper_color", &Settings::m_wallpaper_color, SettingRead::kDialogInit},
    {L"hide_at_programstart", &Settings::hide_at_programstart, SettingRead::kDialogInit},
    {L"show_icons_by_m_mouse", &Settings::show_icons_by_m_mouse, SettingRead::kDialogInit},
    {L"hide_icons_by_m_mouse", &Settings::hide_icons_by_m_mouse, SettingRead::kDialogInit},
    {L"show_icons_win_d", &Settings::show_icons_win_d, SettingRead::kDialogInit},
    {L"show_icons_mouse_move", &Settings::show_icons_mouse_move, SettingRead::kDialogInit},
    {L"task_bar_ico_rule", &Settings::task_bar_ico_rule, SettingRead::kDialogInit},
    {L"hide_taskbar", &Settings::hide_taskbar, SettingRead::kDialogInit},
    {L"topmost", &Settings::topmost, SettingRead::kDialogInit},
    {L"hotkey", &Settings::hotkey, SettingRead::kDialogInit},
    {L"hide_icons_by_dblclick", &Settings::hide_icons_by_dblclick, SettingRead::kDialogInit},
    {L"auto_hide_icons_sec", &Settings::auto_hide_icons_sec, SettingRead::kDialogSlider},
    {L"disable_permanently", &Settings::disable_permanently, SettingRead::kNever},
};

}  // namespace

const SettingKey* SettingKeys() {
    return kKeys;
}

const SettingKey* FindSettingKey(int Settings::*field) {
    for (const SettingKey& row : kKeys) {
        if (row.field == field) {
            return &row;
        }
    }
    return nullptr;
}

void LoadSettings(SettingRead group) {
    SettingsSnapshot file = SettingsSnapshot::Read();
    Settings& record = WritableSettings();
    for (const SettingKey& row : kKeys) {
        if (row.read == group) {
            record.*row.field = file.Get(row.key, record.*row.field);
        }
    }
}

void SaveSetting(int Settings::*field) {
    if (const SettingKey* row = FindSettingKey(field)) {
        WriteIntSetting(row->key, settings.*field);
    }
}

void SaveSetting(int Settings::*field, int value) {
    WritableSettings().*field = value;
    SaveSetting(field);
}

void KeepSettingUnsaved(int Settings::*field, int value) {
    WritableSettings().*field = value;
}
