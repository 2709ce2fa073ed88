#include "hide_icons_setting.h"

#include <windows.h>

namespace standin {

namespace {
constexpr wchar_t kAdvancedKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
constexpr wchar_t kHideIconsValue[] = L"HideIcons";
}  // namespace

bool ReadHideIcons() {
    DWORD value = 0;
    DWORD size = sizeof(value);
    LSTATUS status =
        RegGetValueW(HKEY_CURRENT_USER, kAdvancedKey, kHideIconsValue, RRF_RT_REG_DWORD, nullptr, &value, &size);
    return status == ERROR_SUCCESS && value != 0;
}

void WriteHideIcons(bool hide) {
    DWORD value = hide ? 1 : 0;
    RegSetKeyValueW(HKEY_CURRENT_USER, kAdvancedKey, kHideIconsValue, REG_DWORD, &value, sizeof(value));
}

}  // namespace standin
