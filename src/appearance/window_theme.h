// The theme library's functions by name, each looked up on use: systems without visual styles
// lack the library or some of its functions, and then the callers draw without themes.
#pragma once
#include <windows.h>

#include "common/scoped_handle.h"

// SetWindowTheme of the theme library, looked up on first use; 0 when it is missing.
HRESULT ApplyWindowTheme(HWND window, const wchar_t* subAppName, const wchar_t* subIdList);

namespace themes {

using Theme = HANDLE;

// Null when the library, the function or the class is missing.
Theme OpenThemeData(HWND window, const wchar_t* classList);
// 0 when the library or the function is missing.
HRESULT CloseThemeData(Theme theme);
// An open theme, closed at the end of its scope on every path; empty when none opened.
using ScopedTheme = ScopedHandle<Theme, CloseThemeData>;
// A negative result when the library or the function is missing, or the colour is unknown.
HRESULT GetThemeColor(Theme theme, int part, int state, int property, COLORREF* colour);

// The three calls above, for a test to answer as a system with or without a theme would.
struct ThemeColourFunctions {
    Theme(WINAPI* open)(HWND, const wchar_t*);
    HRESULT(WINAPI* close)(Theme);
    HRESULT(WINAPI* getColour)(Theme, int, int, int, COLORREF*);
};
// Puts `functions` in the library's place; null gives the library back.
void UseThemeColourFunctions(const ThemeColourFunctions* functions);

}  // namespace themes
