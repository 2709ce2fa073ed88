// A system with every dark-mode export, as fakes that record how they were called. Wine has
// none of the theme ordinals, so this table is the only way to run the program dark here.
#pragma once
#include <windows.h>

#include <vector>

#include "appearance/dark_mode_api.h"

struct FakeDarkModeSystem {
    bool appsUseDarkMode = true;
    bool highContrast = false;
    bool windowAllowed = true;
    int allowForAppCalls = 0;       // the flag form, before build 18362
    int preferredAppModeCalls = 0;  // the mode form, from build 18362
    int lastAppArgument = -1;
    int refreshCalls = 0;
    std::vector<HWND> allowedWindows;
    struct TitleBarCall {
        HWND window;
        DWORD attribute;
        SIZE_T size;
        BOOL dark;
    };
    std::vector<TitleBarCall> titleBarCalls;
};

inline FakeDarkModeSystem fakeDarkSystem;

namespace fake_dark_mode {

inline BOOLEAN WINAPI ShouldAppsUseDarkMode() {
    return fakeDarkSystem.appsUseDarkMode;
}
inline BOOLEAN WINAPI AllowDarkModeForWindow(HWND window, BOOL allow) {
    if (allow) {
        fakeDarkSystem.allowedWindows.push_back(window);
    }
    return TRUE;
}
inline BOOL WINAPI AllowDarkModeForApp(BOOL allow) {
    ++fakeDarkSystem.allowForAppCalls;
    fakeDarkSystem.lastAppArgument = allow;
    return TRUE;
}
inline int WINAPI SetPreferredAppMode(int mode) {
    ++fakeDarkSystem.preferredAppModeCalls;
    fakeDarkSystem.lastAppArgument = mode;
    return 0;
}
inline BOOLEAN WINAPI IsDarkModeAllowedForWindow(HWND) {
    return fakeDarkSystem.windowAllowed;
}
inline void WINAPI RefreshColorPolicy() {
    ++fakeDarkSystem.refreshCalls;
}
inline BOOL WINAPI SetWindowCompositionAttribute(HWND window, CompositionAttributeData* data) {
    fakeDarkSystem.titleBarCalls.push_back({window, data->attribute, data->size, *static_cast<BOOL*>(data->data)});
    return TRUE;
}
inline bool HighContrastOn() {
    return fakeDarkSystem.highContrast;
}
inline int ordinal49 = 0;

}  // namespace fake_dark_mode

// Windows 10 or 11 of the given build, every export present. Resets what the fakes recorded.
inline DarkModeApi FakeDarkModeApi(DWORD build = 22631, DWORD major = 10) {
    fakeDarkSystem = FakeDarkModeSystem{};
    DarkModeApi api;
    api.versionKnown = true;
    api.major = major;
    api.build = build;
    api.themeLibraryLoaded = true;
    api.ordinal49 = &fake_dark_mode::ordinal49;
    api.refreshColorPolicy = fake_dark_mode::RefreshColorPolicy;
    api.shouldAppsUseDarkMode = fake_dark_mode::ShouldAppsUseDarkMode;
    api.allowDarkModeForWindow = fake_dark_mode::AllowDarkModeForWindow;
    if ((build & 0x0FFFFFFF) < kPreferredAppModeBuild) {
        api.allowDarkModeForApp = fake_dark_mode::AllowDarkModeForApp;
    } else {
        api.setPreferredAppMode = fake_dark_mode::SetPreferredAppMode;
    }
    api.isDarkModeAllowedForWindow = fake_dark_mode::IsDarkModeAllowedForWindow;
    api.setWindowCompositionAttribute = fake_dark_mode::SetWindowCompositionAttribute;
    api.highContrastOn = fake_dark_mode::HighContrastOn;
    return api;
}

// Puts the program back to the light look it has under Wine.
inline void ResetDarkMode() {
    InitDarkModeWith(DarkModeApi{}, 0, 1);
}
