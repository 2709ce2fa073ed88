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

struct FakeDarkExports {
    static BOOLEAN WINAPI AppsUseDarkMode() { return fakeDarkSystem.appsUseDarkMode; }
    static BOOLEAN WINAPI WindowAllowed(HWND) { return fakeDarkSystem.windowAllowed; }
    static bool HighContrast() { return fakeDarkSystem.highContrast; }
    static void WINAPI Refresh() { ++fakeDarkSystem.refreshCalls; }
    static BOOLEAN WINAPI AllowForWindow(HWND window, BOOL) {
        fakeDarkSystem.allowedWindows.push_back(window);
        return TRUE;
    }
    static BOOL WINAPI AllowForApp(BOOL allow) {
        fakeDarkSystem.lastAppArgument = allow;
        return ++fakeDarkSystem.allowForAppCalls;
    }
    static int WINAPI PreferredAppMode(int mode) {
        fakeDarkSystem.lastAppArgument = mode;
        return ++fakeDarkSystem.preferredAppModeCalls;
    }
    static BOOL WINAPI TitleBar(HWND window, CompositionAttributeData* data) {
        fakeDarkSystem.titleBarCalls.push_back({window, data->attribute, data->size, *static_cast<BOOL*>(data->data)});
        return TRUE;
    }
    static inline int ordinal49 = 0;
};

// Windows 10 or 11 of the given build, every export present. Resets what the fakes recorded.
inline DarkModeApi FakeDarkModeApi(DWORD build = 22631, DWORD major = 10) {
    fakeDarkSystem = FakeDarkModeSystem{};
    using F = FakeDarkExports;
    DarkModeApi api{.versionKnown = true,
                    .major = major,
                    .build = build,
                    .themeLibraryLoaded = true,
                    .ordinal49 = &F::ordinal49,
                    .refreshColorPolicy = F::Refresh,
                    .shouldAppsUseDarkMode = F::AppsUseDarkMode,
                    .allowDarkModeForWindow = F::AllowForWindow,
                    .isDarkModeAllowedForWindow = F::WindowAllowed,
                    .setWindowCompositionAttribute = F::TitleBar,
                    .highContrastOn = F::HighContrast};
    if ((build & 0x0FFFFFFF) < kPreferredAppModeBuild) {
        api.allowDarkModeForApp = F::AllowForApp;
    } else {
        api.setPreferredAppMode = F::PreferredAppMode;
    }
    return api;
}

// Back to the light look the program has under Wine.
inline void ResetDarkMode() {
    InitDarkModeWith(DarkModeApi{}, 0);
}
