// The system functions dark mode rests on, gathered in one table: the program fills it from
// ntdll, UxTheme and user32 at start-up, a test fills it with fakes. The undocumented theme
// exports have no names, only ordinals, and may be missing on any system.
#pragma once
#include <windows.h>

// The window's title bar dark or light (attribute 26 of SetWindowCompositionAttribute).
struct CompositionAttributeData {
    DWORD attribute;
    void* data;
    SIZE_T size;
};

struct DarkModeApi {
    using ShouldAppsUseDarkModeFn = BOOLEAN(WINAPI*)();
    using AllowDarkModeForWindowFn = BOOLEAN(WINAPI*)(HWND, BOOL);
    using AllowDarkModeForAppFn = BOOL(WINAPI*)(BOOL);
    using SetPreferredAppModeFn = int(WINAPI*)(int);
    using IsDarkModeAllowedForWindowFn = BOOLEAN(WINAPI*)(HWND);
    using RefreshColorPolicyFn = void(WINAPI*)();
    using SetCompositionAttributeFn = BOOL(WINAPI*)(HWND, CompositionAttributeData*);

    // RtlGetNtVersionNumbers; without it nothing else is looked up.
    bool versionKnown = false;
    DWORD major = 0;
    DWORD minor = 0;
    DWORD build = 0;  // as reported, flags in the top four bits included

    bool themeLibraryLoaded = false;
    void* ordinal49 = nullptr;                                          // only its presence counts
    RefreshColorPolicyFn refreshColorPolicy = nullptr;                  // ordinal 104
    ShouldAppsUseDarkModeFn shouldAppsUseDarkMode = nullptr;            // ordinal 132
    AllowDarkModeForWindowFn allowDarkModeForWindow = nullptr;          // ordinal 133
    AllowDarkModeForAppFn allowDarkModeForApp = nullptr;                // ordinal 135 before build 18362
    SetPreferredAppModeFn setPreferredAppMode = nullptr;                // ordinal 135 from build 18362
    IsDarkModeAllowedForWindowFn isDarkModeAllowedForWindow = nullptr;  // ordinal 137
    SetCompositionAttributeFn setWindowCompositionAttribute = nullptr;  // user32, optional

    // Whether high contrast is on; null counts as off.
    bool (*highContrastOn)() = nullptr;
};

// The builds from which ordinal 135 takes a mode instead of a flag, and the title bar's
// colour goes through SetWindowCompositionAttribute instead of a window property.
inline constexpr DWORD kPreferredAppModeBuild = 18362;

// Whether the system's high contrast is on now; a failing query counts as off.
bool SystemHighContrastOn();

// Looks the functions up the way the system offers them: the theme library only on Windows
// Vista and later, its ordinals only on Windows 10 and later.
DarkModeApi LoadDarkModeApi();
