#include "settings/ini_store.h"

#include <windows.h>

#include <cwchar>
#include <string>
#include <string_view>

#include "common/failure_note.h"
#include "common/program.h"
#include "settings/settings.h"

namespace {

constexpr wchar_t kSection[] = L"Program";
std::wstring settingsFilePath;

}  // namespace

std::wstring SettingsPathForExecutable(const std::wstring& exePath) {
    size_t nameStart = exePath.find_last_of(L"\\/");
    nameStart = (nameStart == std::wstring::npos) ? 0 : nameStart + 1;
    size_t dot = exePath.find_last_of(L'.');
    std::wstring base = (dot != std::wstring::npos && dot >= nameStart) ? exePath.substr(0, dot) : exePath;
    return base + L".ini";
}

namespace {

// Long paths need the \\?\ prefix for the file calls; the profile calls go through the same
// file system layer.
std::wstring ForFileApi(const std::wstring& path) {
    if (path.size() < MAX_PATH || path.rfind(L"\\\\", 0) == 0) {
        return path;
    }
    return L"\\\\?\\" + path;
}

bool CanOpenForWriting(const std::wstring& path, DWORD disposition) {
    HANDLE file = CreateFileW(ForFileApi(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    return true;
}

// The profile calls do not reliably take paths beyond MAX_PATH (Wine's do not at all), but
// the file's short 8.3 path usually fits. Without one, reads give defaults and writes fail.
bool UseShortPathWhenTooLong() {
    if (settingsFilePath.size() < MAX_PATH) {
        return true;
    }
    std::wstring longForm = ForFileApi(settingsFilePath);
    DWORD needed = GetShortPathNameW(longForm.c_str(), nullptr, 0);
    if (needed == 0) {
        return false;
    }
    std::wstring shortPath(needed, L'\0');
    DWORD length = GetShortPathNameW(longForm.c_str(), shortPath.data(), needed);
    if (length == 0 || length >= needed) {
        return false;
    }
    shortPath.resize(length);
    if (shortPath.rfind(L"\\\\?\\", 0) == 0) {
        shortPath.erase(0, 4);
    }
    if (shortPath.size() >= MAX_PATH) {
        return false;
    }
    settingsFilePath = shortPath;
    return true;
}

}  // namespace

void LocateSettingsFile(bool warnWhenUnwritable) {
    LocateSettingsFileFor(ExecutablePath(), warnWhenUnwritable);
}

void LocateSettingsFileFor(const std::wstring& exePath, bool warnWhenUnwritable) {
    settingsFilePath = exePath.empty() ? std::wstring() : SettingsPathForExecutable(exePath);
    if (!settingsFilePath.empty() &&
        (CanOpenForWriting(settingsFilePath, OPEN_EXISTING) || CanOpenForWriting(settingsFilePath, OPEN_ALWAYS))) {
        if (UseShortPathWhenTooLong()) {
            return;
        }
    }
    if (!warnWhenUnwritable) {
        return;
    }
    const wchar_t* shown = settingsFilePath.empty() ? L"(the program's path could not be read)" : settingsFilePath.c_str();
    MessageBoxW(GetActiveWindow(), shown, L"Error! File access!", MB_ICONWARNING);
}

const wchar_t* SettingsFilePath() {
    return settingsFilePath.c_str();
}

int ReadIntSetting(const wchar_t* key, int fallback) {
    if (settingsFilePath.empty()) {
        return fallback;
    }
    wchar_t buffer[1024] = L"";
    DWORD length = GetPrivateProfileStringW(kSection, key, L"", buffer, 1024, ForFileApi(settingsFilePath).c_str());
    if (length == 0) {
        return fallback;
    }
    return ParseIntSetting(buffer);
}

SettingsSnapshot SettingsSnapshot::Read() {
    if (settingsFilePath.empty()) {
        return SettingsSnapshot(std::wstring());
    }
    std::wstring path = ForFileApi(settingsFilePath);
    std::wstring entries(4096, L'\0');
    for (;;) {
        DWORD length =
            GetPrivateProfileSectionW(kSection, entries.data(), static_cast<DWORD>(entries.size()), path.c_str());
        // A section cut short is reported as the buffer's size less two.
        if (length + 2 < entries.size() || entries.size() >= (1u << 20)) {
            entries.resize(length);
            entries.append(2, L'\0');
            return SettingsSnapshot(std::move(entries));
        }
        entries.assign(entries.size() * 2, L'\0');
    }
}

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

// The entry's text between `begin` and `end` without the blanks around it.
std::wstring_view Trimmed(const wchar_t* begin, const wchar_t* end) {
    while (begin < end && IsBlank(*begin)) {
        ++begin;
    }
    while (end > begin && IsBlank(end[-1])) {
        --end;
    }
    return std::wstring_view(begin, static_cast<size_t>(end - begin));
}

}  // namespace

// As the profile calls do: the first entry of that name counts, names are compared without
// regard to case, and quotes around the whole value are dropped.
int SettingsSnapshot::Get(const wchar_t* key, int fallback) const {
    for (const wchar_t* entry = entries_.c_str(); *entry != L'\0'; entry += std::wcslen(entry) + 1) {
        const wchar_t* end = entry + std::wcslen(entry);
        const wchar_t* equals = std::wcschr(entry, L'=');
        std::wstring_view name = Trimmed(entry, equals != nullptr ? equals : end);
        if (name.size() != std::wcslen(key) || _wcsnicmp(name.data(), key, name.size()) != 0) {
            continue;
        }
        if (equals == nullptr) {
            return fallback;
        }
        std::wstring value(Trimmed(equals + 1, end));
        if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') && value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
        return value.empty() ? fallback : ParseIntSetting(value.c_str());
    }
    return fallback;
}

void WriteIntSetting(const wchar_t* key, int value) {
    if (settingsFilePath.empty()) {
        return;
    }
    wchar_t text[1024];
    wsprintfW(text, L"%d", value);
    // Start-up has warned the user already when the file could not be written at all.
    if (!WritePrivateProfileStringW(kSection, key, text, ForFileApi(settingsFilePath).c_str())) {
        NoteFailure(L"WritePrivateProfileString");
    }
}
