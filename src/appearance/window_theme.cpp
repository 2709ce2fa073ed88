#include "appearance/window_theme.h"

#include "appearance/dark_mode.h"
#include "common/system_library.h"

namespace {

using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, const wchar_t*, const wchar_t*);
using OpenThemeDataFn = themes::Theme(WINAPI*)(HWND, const wchar_t*);
using CloseThemeDataFn = HRESULT(WINAPI*)(themes::Theme);
using GetThemeColorFn = HRESULT(WINAPI*)(themes::Theme, int, int, int, COLORREF*);

// Each caller keeps its own module handle, loaded on its first call.
template <typename Function>
Function ThemeFunction(HMODULE& module, const char* name) {
    if (module == nullptr) {
        module = LoadSystemLibrary(L"UxTheme.dll");
    }
    if (module == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

// The theme library is loaded on first use only: systems without themes have no such DLL.
HRESULT ApplyWindowTheme(HWND window, const wchar_t* subAppName, const wchar_t* subIdList) {
    static HMODULE module = nullptr;
    auto setWindowTheme = ThemeFunction<SetWindowThemeFn>(module, "SetWindowTheme");
    return setWindowTheme != nullptr ? setWindowTheme(window, subAppName, subIdList) : 0;
}

namespace themes {

Theme OpenThemeData(HWND window, const wchar_t* classList) {
    static HMODULE module = nullptr;
    auto open = ThemeFunction<OpenThemeDataFn>(module, "OpenThemeData");
    return open != nullptr ? open(window, classList) : nullptr;
}

HRESULT CloseThemeData(Theme theme) {
    static HMODULE module = nullptr;
    auto close = ThemeFunction<CloseThemeDataFn>(module, "CloseThemeData");
    return close != nullptr ? close(theme) : 0;
}

HRESULT GetThemeColor(Theme theme, int part, int state, int property, COLORREF* colour) {
    static HMODULE module = nullptr;
    auto getColour = ThemeFunction<GetThemeColorFn>(module, "GetThemeColor");
    return getColour != nullptr ? getColour(theme, part, state, property, colour) : E_NOTIMPL;
}

}  // namespace themes
