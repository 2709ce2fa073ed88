#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "settings/ini_store.h"

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

TEST_F(IniStore, EmptyValueGivesTheDefault) {
    LocateSettingsFileFor(root_.substr(4) + L"\\Velmora.exe");
    WritePrivateProfileStringW(L"Program", L"m_wallpaper_color", L"", SettingsFilePath());
    EXPECT_EQ(ReadIntSetting(L"m_wallpaper_color", -1), -1);
}

TEST_F(IniStore, WorksBeyondTheClassicPathLimit) {
    std::wstring folder = DeepFolder();
    LocateSettingsFileFor(folder.substr(4) + L"\\Velmora.exe");
    EXPECT_NE(GetFileAttributesW((folder + L"\\Velmora.ini").c_str()), INVALID_FILE_ATTRIBUTES);
    WriteIntSetting(L"topmost", 1);
    EXPECT_EQ(ReadIntSetting(L"topmost", 0), 1);
}

}  // namespace
