#include "common/program.h"

// GetModuleFileNameW truncates silently, so grow the buffer until the whole path fits:
// a program installed deeper than MAX_PATH still finds its INI file and its own name.
std::wstring ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return std::wstring();
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        if (path.size() >= 32768) {
            return std::wstring();
        }
        path.resize(path.size() * 2);
    }
}

HICON LoadIconAtSize(HMODULE module, int id, int size, LoadImageFunction loadImage) {
    return static_cast<HICON>(loadImage(module, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

std::wstring TemporaryFolder() {
    wchar_t folder[MAX_PATH + 1] = L"";
    const DWORD length = GetTempPathW(ARRAYSIZE(folder), folder);
    if (length == 0 || length >= ARRAYSIZE(folder)) {
        return std::wstring();
    }
    std::wstring path = folder;
    if (path.back() != L'\\') {
        path += L'\\';
    }
    return path;
}
