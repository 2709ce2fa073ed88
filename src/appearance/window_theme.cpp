#include "appearance/window_theme.h"

#include "appearance/dark_mode.h"
#include "common/system_library.h"

namespace {

using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, const wchar_t*, const wchar_t*);
using OpenThemeDataFn = themes::Theme(WINAPI*)(HWND, const wchar_t*);
using CloseThemeDataFn = HRESULT(WINAPI*)(themes::Theme);
using GetThemeColorFn = HRESULT(WINAPI*)(themes::Theme, int, int, int, COLORREF*);

const themes::ThemeColourFunctions* standIn = nullptr;

template <typename Function>
Function ThemeFunction(const char* name) {
    HMODULE module = ThemeLibrary();
    if (module == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

// The theme library is loaded on first use only: systems without themes have no such DLL.
HRESULT ApplyWindowTheme(HWND window, const wchar_t* subAppName, const wchar_t* subIdList) {
    auto setWindowTheme = ThemeFunction<SetWindowThemeFn>("SetWindowTheme");
    return setWindowTheme != nullptr ? setWindowTheme(window, subAppName, subIdList) : 0;
}

namespace themes {

Theme OpenThemeData(HWND window, const wchar_t* classList) {
    auto open = standIn != nullptr ? standIn->open : ThemeFunction<OpenThemeDataFn>("OpenThemeData");
    return open != nullptr ? open(window, classList) : nullptr;
}

HRESULT CloseThemeData(Theme theme) {
    auto close = standIn != nullptr ? standIn->close : ThemeFunction<CloseThemeDataFn>("CloseThemeData");
    return close != nullptr ? close(theme) : 0;
}

HRESULT GetThemeColor(Theme theme, int part, int state, int property, COLORREF* colour) {
    auto getColour = standIn != nullptr ? standIn->getColour : ThemeFunction<GetThemeColorFn>("GetThemeColor");
    return getColour != nullptr ? getColour(theme, part, state, property, colour) : E_NOTIMPL;
}

void UseThemeColourFunctions(const ThemeColourFunctions* functions) {
    standIn = functions;
}

}  // namespace themes
