#include "settings/autostart.h"

#include <string_view>

#include "common/failure_note.h"
#include "common/program.h"
#include "common/scoped_handle.h"
#include "resource_ids.h"

namespace {

constexpr wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

ScopedRegKey OpenRunKey(REGSAM access) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, access, &opened) != ERROR_SUCCESS) {
        return ScopedRegKey();
    }
    return ScopedRegKey(opened);
}

// A fresh profile may not have the key yet; writing the value makes it.
ScopedRegKey CreateRunKey() {
    HKEY opened = nullptr;
    const LSTATUS result =
        RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr);
    if (result != ERROR_SUCCESS) {
        NoteFailure(L"RegCreateKeyEx (Run key)", static_cast<DWORD>(result));
        return ScopedRegKey();
    }
    return ScopedRegKey(opened);
}

// The Run value for the running exe; empty when its path does not fit (then the option can be
// neither written nor recognised).
Text ExpectedRunValue() {
    const std::wstring path = ExecutablePath();
    if (path.empty() || path.size() >= MAX_PATH) {
        return Text();
    }
    return RunValueData(path.c_str());
}

}  // namespace

Text RunValueData(const wchar_t* exePath) {
    Text data = Text::Format(L"\"%s\" -bg", exePath);
    return data.Length() <= kLongestRunValue ? data : Text();
}

RunValueState JudgeRunValue(const wchar_t* data, DWORD dataBytes, const wchar_t* expected) {
    if (data == nullptr) {
        return RunValueState::kMissing;
    }
    std::wstring_view stored(data, dataBytes / sizeof(wchar_t));
    stored = stored.substr(0, stored.find(L'\0'));
    // Data that fills the whole buffer has no room for its terminator: it is longer than the
    // program reads.
    if (stored.size() > static_cast<size_t>(kLongestRunValue)) {
        return RunValueState::kMissing;
    }
    return stored == expected ? RunValueState::kCurrent : RunValueState::kStale;
}

bool IsAutostartRegistered() {
    const Text valueName = Text::FromResource(IDS_RUN_VALUE_NAME);
    const Text expected = ExpectedRunValue();
    ScopedRegKey key = OpenRunKey(KEY_QUERY_VALUE);
    if (expected.Empty() || !key) {
        return false;
    }
    wchar_t data[kLongestRunValue + 1] = {};
    DWORD bytes = sizeof(data);
    LONG result = RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(data), &bytes);
    switch (JudgeRunValue(result == ERROR_SUCCESS ? data : nullptr, bytes, expected.c_str())) {
        case RunValueState::kMissing:
            return false;
        case RunValueState::kStale:
            WriteRunValue(valueName.c_str(), expected.c_str());
            return true;
        case RunValueState::kCurrent:
            return true;
    }
    return false;
}

bool SetAutostart(bool enable) {
    const Text name = Text::FromResource(IDS_RUN_VALUE_NAME);
    if (!enable) {
        return DeleteRunValue(name.c_str());
    }
    const Text data = ExpectedRunValue();
    return !data.Empty() && WriteRunValue(name.c_str(), data.c_str());
}

bool WriteRunValue(const wchar_t* valueName, const wchar_t* data) {
    ScopedRegKey key = CreateRunKey();
    if (!key) {
        return false;
    }
    const DWORD bytes = static_cast<DWORD>((lstrlenW(data) + 1) * sizeof(wchar_t));
    const LSTATUS result = RegSetValueExW(key.Get(), valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(data), bytes);
    if (result != ERROR_SUCCESS) {
        NoteFailure(L"RegSetValueEx (Run value)", static_cast<DWORD>(result));
        return false;
    }
    return true;
}

bool DeleteRunValue(const wchar_t* valueName) {
    HKEY opened = nullptr;
    LSTATUS result = RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &opened);
    if (result == ERROR_SUCCESS) {
        ScopedRegKey key(opened);
        result = RegDeleteValueW(key.Get(), valueName);
    }
    // No key, or no value in it: nothing starts the program either way.
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) {
        NoteFailure(L"RegDeleteValue (Run value)", static_cast<DWORD>(result));
        return false;
    }
    return true;
}
