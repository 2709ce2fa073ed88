#include "settings/autostart.h"

#include <windows.h>

#include "common/scoped_handle.h"

namespace {

constexpr wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

}  // namespace

bool IsAutostartRegistered(const wchar_t* valueName) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) {
        return false;
    }
    ScopedRegKey key(opened);
    return RegQueryValueExW(key.Get(), valueName, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

void SetAutostart(bool) {
    // Writing and deleting the Run value is not built yet: the check box only shows the state.
}
