#include <gtest/gtest.h>

#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

#include "settings/ini_store.h"
#include "settings/settings_table.h"
#include "settings/writable_settings.h"

namespace {

// A folder of its own under the temporary folder, deep enough to pass the classic path limit.
class IniStore : public ::testing::Test {
  protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        wchar_t name[64];
        wsprintfW(name, L"velmora_ini_%u", GetCurrentProcessId());
        root_ = std::wstring(L"\\\\?\\") + temp + name;
        CreateDirectoryW(root_.c_str(), nullptr);
    }
    void TearDown() override {
        for (auto it = created_.rbegin(); it != created_.rend(); ++it) {
            DeleteFileW((*it + L"\\Velmora.ini").c_str());
            RemoveDirectoryW(it->c_str());
        }
        DeleteFileW((root_ + L"\\Velmora.ini").c_str());
        RemoveDirectoryW(root_.c_str());
    }
    std::wstring DeepFolder() {
        std::wstring folder = root_;
        while (folder.size() < 320) {
            folder += L"\\a_folder_name_of_some_length";
            CreateDirectoryW(folder.c_str(), nullptr);
            created_.push_back(folder);
        }
        return folder;
    }

    std::wstring root_;
    std::vector<std::wstring> created_;
};

TEST_F(IniStore, CreatesTheFileAndRoundTripsValues) {
    LocateSettingsFileFor(root_.substr(4) + L"\\Velmora.exe");
    EXPECT_NE(GetFileAttributesW((root_ + L"\\Velmora.ini").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ReadIntSetting(L"auto_hide_icons_sec", 5), 5);
    WriteIntSetting(L"auto_hide_icons_sec", 42);
    WriteIntSetting(L"m_wallpaper_color", -1);
    EXPECT_EQ(ReadIntSetting(L"auto_hide_icons_sec", 5), 42);
    EXPECT_EQ(ReadIntSetting(L"m_wallpaper_color", 7), -1);
}

// The names are what existing INI files hold: a key renamed by mistake would lose the user's
// setting, a field saved under another's key would overwrite it.
TEST_F(IniStore, EveryOptionRoundTripsUnderItsOwnKey) {
    const wchar_t* const kStoredNames[kSettingKeyCount] = {
        L"auto_hide_icons_sec", L"topmost", L"hide_taskbar", L"task_bar_ico_rule", L"show_icons_mouse_move",
        L"show_icons_win_d", L"hide_icons_by_m_mouse", L"show_icons_by_m_mouse", L"hide_at_programstart",
        L"m_wallpaper_color", L"show_icons_by_contextmenu", L"show_icons_by_r_mouse", L"show_icons_by_l_mouse",
        L"tray_if_minimize", L"start_tray", L"m_disable", L"disable_permanently", L"disable_dark_theme",
        L"soft_paint", L"lng", L"hotkey", L"hide_icons_by_dblclick"};
    LocateSettingsFileFor(root_.substr(4) + L"\\Velmora.exe");
    const SettingKey* keys = SettingKeys();
    for (int i = 0; i < kSettingKeyCount; ++i) {
        SaveSetting(keys[i].field, 1000 + i);
    }
    WritableSettings() = Settings{};
    for (SettingRead group : {SettingRead::kStartUp, SettingRead::kLanguage, SettingRead::kDialogDisable,
                              SettingRead::kDialogInit, SettingRead::kDialogSlider, SettingRead::kNever}) {
        LoadSettings(group);
    }
    for (int i = 0; i < kSettingKeyCount; ++i) {
        EXPECT_EQ(settings.*keys[i].field, 1000 + i) << "field of " << std::string(keys[i].key, keys[i].key + wcslen(keys[i].key));
    }
    int found = 0;
    for (const wchar_t* name : kStoredNames) {
        found += ReadIntSetting(name, -1) >= 1000 ? 1 : 0;
    }
    EXPECT_EQ(found, kSettingKeyCount) << "every stored name is written by exactly one field";
    EXPECT_EQ(FindSettingKey(&Settings::autostart), nullptr) << "start with Windows lives in the registry only";
    WritableSettings() = Settings{};
}

TEST_F(IniStore, EmptyValueGivesTheDefault) {
    LocateSettingsFileFor(root_.substr(4) + L"\\Velmora.exe");
    WritePrivateProfileStringW(L"Program", L"m_wallpaper_color", L"", SettingsFilePath());
    EXPECT_EQ(ReadIntSetting(L"m_wallpaper_color", -1), -1);
}

// One look at the section must answer as the profile call for each key would: first entry,
// any case, blanks and quotes, entries without "=", other and repeated sections.
TEST_F(IniStore, SnapshotAnswersAsSingleReads) {
    LocateSettingsFileFor(root_.substr(4) + L"\\Velmora.exe");
    const char text[] =
        "[Other]\r\nlng=9\r\n"
        "[program]\r\n  Topmost = 1 \r\nlng\r\nlng=3\r\nsoft_paint=\"7\"\r\nstart_tray=\r\n"
        ";hide_taskbar=1\r\nhide_taskbar = '4'\r\nm_disable=\"\"\r\nshow_icons_win_d=\"2\r\n"
        "auto_hide_icons_sec= -12x \r\n"
        "[Program]\r\ntray_if_minimize=8\r\n";
    HANDLE file = CreateFileW((root_ + L"\\Velmora.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, text, sizeof(text) - 1, &written, nullptr);
    CloseHandle(file);
    SettingsSnapshot snapshot = SettingsSnapshot::Read();
    for (const wchar_t* key : {L"topmost", L"TOPMOST", L"lng", L"soft_paint", L"start_tray", L"hide_taskbar",
                               L"m_disable", L"show_icons_win_d", L"auto_hide_icons_sec", L"tray_if_minimize",
                               L"top", L"missing"}) {
        EXPECT_EQ(snapshot.Get(key, -77), ReadIntSetting(key, -77)) << key;
    }
}

TEST_F(IniStore, WorksBeyondTheClassicPathLimit) {
    std::wstring folder = DeepFolder();
    LocateSettingsFileFor(folder.substr(4) + L"\\Velmora.exe");
    EXPECT_NE(GetFileAttributesW((folder + L"\\Velmora.ini").c_str()), INVALID_FILE_ATTRIBUTES);
    WriteIntSetting(L"topmost", 1);
    EXPECT_EQ(ReadIntSetting(L"topmost", 0), 1);
}

}  // namespace
