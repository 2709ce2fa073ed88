#include "appearance/dark_mode.h"

#include "appearance/dark_mode_api.h"

namespace {

DarkModeState state;

const wchar_t kTitleBarProperty[] = L"UseImmersiveDarkModeColors";
constexpr DWORD kDarkTitleBarAttribute = 26;

bool HighContrastOn(const DarkModeApi& api) {
    return api.highContrastOn != nullptr && api.highContrastOn();
}

// Ordinal 135 changed its meaning with build 18362: before it, a flag for the whole
// application; from it on, the preferred mode (1 allows dark). Either way it must exist.
bool HasAppAllowCall(const DarkModeApi& api, DWORD build) {
    return build < kPreferredAppModeBuild ? api.allowDarkModeForApp != nullptr : api.setPreferredAppMode != nullptr;
}

void AllowDarkModeForApp(const DarkModeApi& api, DWORD build) {
    if (build < kPreferredAppModeBuild) {
        api.allowDarkModeForApp(TRUE);
    } else {
        api.setPreferredAppMode(1);
    }
}

bool HasRequiredExports(const DarkModeApi& api, DWORD build) {
    return api.ordinal49 != nullptr && api.refreshColorPolicy != nullptr && api.shouldAppsUseDarkMode != nullptr &&
           api.allowDarkModeForWindow != nullptr && api.isDarkModeAllowedForWindow != nullptr &&
           HasAppAllowCall(api, build);
}

}  // namespace

void InitDarkModeWith(const DarkModeApi& api, int disableDarkTheme) {
    state = DarkModeState{};
    state.api = api;
    state.disableDarkTheme = disableDarkTheme;
    if (!api.versionKnown) {
        return;
    }
    state.windowsBuild = api.build & 0x0FFFFFFF;
    if (api.major < 10 || !api.themeLibraryLoaded || !HasRequiredExports(api, state.windowsBuild)) {
        return;
    }
    state.supported = true;
    state.enabled = api.shouldAppsUseDarkMode() != 0 && !HighContrastOn(api);
    // Disabled by hand, the program still knows what the system would do, but asks for nothing.
    if (disableDarkTheme != 0) {
        return;
    }
    AllowDarkModeForApp(api, state.windowsBuild);
    api.refreshColorPolicy();
}

const DarkModeState& CurrentDarkMode() {
    return state;
}

bool IsDarkModeActive() {
    return state.supported && state.enabled && state.disableDarkTheme == 0;
}

void RefreshDarkMode() {
    if (!state.supported) {
        return;
    }
    // The system's answer is cached per process until the policy is read afresh.
    if (state.disableDarkTheme == 0) {
        state.api.refreshColorPolicy();
    }
    state.enabled = state.api.shouldAppsUseDarkMode() != 0 && !HighContrastOn(state.api);
}

bool IsHighContrastOn() {
    return state.api.highContrastOn != nullptr ? state.api.highContrastOn() : SystemHighContrastOn();
}

bool AllowDarkModeForWindow(HWND window, BOOL allow) {
    return state.supported && state.api.allowDarkModeForWindow(window, allow) != 0;
}

void RefreshTitleBarTheme(HWND window) {
    if (!state.supported) {
        return;
    }
    const DarkModeApi& api = state.api;
    BOOL dark = api.isDarkModeAllowedForWindow(window) != 0 && api.shouldAppsUseDarkMode() != 0 && !HighContrastOn(api);
    if (state.windowsBuild < kPreferredAppModeBuild) {
        SetPropW(window, kTitleBarProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(dark)));
    } else if (api.setWindowCompositionAttribute != nullptr) {
        CompositionAttributeData data = {kDarkTitleBarAttribute, &dark, sizeof(dark)};
        api.setWindowCompositionAttribute(window, &data);
    }
}
