// Every INI key of the program in one table: its field of `Settings`, its default (the
// field's initial value) and when the program reads it. Loading and saving go through the
// table, so a key is spelled in one place only.
#pragma once

#include "settings/settings.h"

// When a key is read. Each group is read once, in table order.
enum class SettingRead {
    kStartUp,        // before any window exists (dark mode)
    kLanguage,       // with the default language, before the pack is decoded
    kDialogDisable,  // first thing the dialog reads: the other options depend on it
    kDialogInit,     // the rest of the dialog's options
    kDialogSlider,   // with the idle-time slider, after the check boxes are set
    kNever,          // written only: every run starts with the option off
};

struct SettingKey {
    const wchar_t* key;
    int Settings::*field;
    SettingRead read;
};

inline constexpr Settings kDefaultSettings{};
inline constexpr int kSettingKeyCount = 22;

// The table, in reading order within each group.
const SettingKey* SettingKeys();

// The row of a field; null for a field that is not stored in the INI file (autostart).
const SettingKey* FindSettingKey(int Settings::*field);

// Reads every key of a group in table order.
void LoadSettings(SettingRead group);

// Writes the field's current value under its key at once.
void SaveSetting(int Settings::*field);

// Stores `value` in the field, then writes it.
void SaveSetting(int Settings::*field, int value);

// Stores `value` in the field without writing it: for what the INI file does not hold
// (autostart), a value the file already has, or the default a following read may replace.
void KeepSettingUnsaved(int Settings::*field, int value);
