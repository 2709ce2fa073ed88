#include "appearance/dark_mode.h"

namespace {

using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, const wchar_t*, const wchar_t*);

}  // namespace

// The theme library is loaded on first use only: systems without themes have no such DLL.
HRESULT ApplyWindowTheme(HWND window, const wchar_t* subAppName, const wchar_t* subIdList) {
    static HMODULE theme = LoadLibraryW(L"UxTheme.dll");
    if (theme == nullptr) {
        return 0;
    }
    auto setWindowTheme =
        reinterpret_cast<SetWindowThemeFn>(reinterpret_cast<void*>(GetProcAddress(theme, "SetWindowTheme")));
    return setWindowTheme != nullptr ? setWindowTheme(window, subAppName, subIdList) : 0;
}
