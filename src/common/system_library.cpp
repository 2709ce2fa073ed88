#include "common/system_library.h"

#include <string>

namespace {

using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);

}  // namespace

HMODULE LoadSystemLibrary(const wchar_t* name) {
    HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module != nullptr || GetLastError() != ERROR_INVALID_PARAMETER) {
        return module;
    }
    // A system without the search flags refuses them: the full path names the one file, and
    // the altered search looks for the DLL's own imports beside it first.
    wchar_t folder[MAX_PATH] = L"";
    UINT length = GetSystemDirectoryW(folder, ARRAYSIZE(folder));
    if (length == 0 || length >= ARRAYSIZE(folder)) {
        return nullptr;
    }
    std::wstring path = std::wstring(folder) + L"\\" + name;
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

void RestrictDllSearchToSystem() {
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    auto setDefault = kernel == nullptr ? nullptr
                                        : reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void*>(
                                              GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (setDefault != nullptr) {
        setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
}

HMODULE ThemeLibrary() {
    static const HMODULE theme = LoadSystemLibrary(L"UxTheme.dll");
    return theme;
}
