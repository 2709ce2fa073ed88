#include "e2e/support/browser_record.h"

#include <windows.h>

namespace e2e {

namespace {

constexpr wchar_t kBrowserKey[] = L"http\\shell\\open\\command";

std::wstring ReadDefaultValue(HKEY root, const wchar_t* path) {
    wchar_t value[1024] = L"";
    DWORD size = sizeof(value);
    RegGetValueW(root, path, nullptr, RRF_RT_REG_SZ, nullptr, value, &size);
    return value;
}

void WriteDefaultValue(HKEY root, const wchar_t* path, const std::wstring& value) {
    RegSetKeyValueW(root, path, nullptr, REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

BrowserRecord::BrowserRecord() : previous_(ReadDefaultValue(HKEY_CLASSES_ROOT, kBrowserKey)) {
    if (Installed()) {
        WriteDefaultValue(HKEY_CLASSES_ROOT, kBrowserKey,
                          L"C:\\windows\\system32\\cmd.exe /c echo \"%1\">\"" + RecordPath() + L"\"");
    }
}

BrowserRecord::~BrowserRecord() {
    if (Installed()) {
        WriteDefaultValue(HKEY_CLASSES_ROOT, kBrowserKey, previous_);
    }
}

std::string BrowserRecord::NextAddress(DWORD timeoutMs) {
    std::string text;
    WaitUntil(
        [&] {
            HANDLE file = CreateFileW(RecordPath().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
            if (file == INVALID_HANDLE_VALUE) {
                return false;
            }
            char buffer[1024] = {};
            DWORD read = 0;
            ReadFile(file, buffer, sizeof(buffer) - 1, &read, nullptr);
            CloseHandle(file);
            text.assign(buffer, read);
            return text.find('\n') != std::string::npos;
        },
        timeoutMs);
    DeleteFileW(RecordPath().c_str());
    return text.substr(0, text.find_first_of("\r\n"));
}

}  // namespace e2e
