#include "appearance/dark_mode_api.h"

#include "common/system_library.h"

namespace {

using VersionNumbersFn = void(WINAPI*)(DWORD*, DWORD*, DWORD*);

template <typename Function>
Function Export(HMODULE module, const char* nameOrOrdinal) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, nameOrOrdinal)));
}

template <typename Function>
Function Ordinal(HMODULE module, WORD ordinal) {
    return Export<Function>(module, MAKEINTRESOURCEA(ordinal));
}

void ResolveThemeOrdinals(HMODULE theme, DarkModeApi& api) {
    api.ordinal49 = Ordinal<void*>(theme, 49);
    api.refreshColorPolicy = Ordinal<DarkModeApi::RefreshColorPolicyFn>(theme, 104);
    api.shouldAppsUseDarkMode = Ordinal<DarkModeApi::ShouldAppsUseDarkModeFn>(theme, 132);
    api.allowDarkModeForWindow = Ordinal<DarkModeApi::AllowDarkModeForWindowFn>(theme, 133);
    if ((api.build & 0x0FFFFFFF) < kPreferredAppModeBuild) {
        api.allowDarkModeForApp = Ordinal<DarkModeApi::AllowDarkModeForAppFn>(theme, 135);
    } else {
        api.setPreferredAppMode = Ordinal<DarkModeApi::SetPreferredAppModeFn>(theme, 135);
    }
    api.isDarkModeAllowedForWindow = Ordinal<DarkModeApi::IsDarkModeAllowedForWindowFn>(theme, 137);
}

}  // namespace

// A failing query counts as off: the program then follows the user's app mode.
bool SystemHighContrastOn() {
    HIGHCONTRASTW info = {};
    info.cbSize = sizeof(info);
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(info), &info, 0) != 0 &&
           (info.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

DarkModeApi LoadDarkModeApi() {
    DarkModeApi api;
    api.highContrastOn = SystemHighContrastOn;
    // The true version: GetVersionEx reports what the exe's manifest claims to know.
    auto versionNumbers = Export<VersionNumbersFn>(GetModuleHandleW(L"ntdll.dll"), "RtlGetNtVersionNumbers");
    if (versionNumbers == nullptr) {
        return api;
    }
    versionNumbers(&api.major, &api.minor, &api.build);
    api.versionKnown = true;
    if (api.major < 6) {
        return api;
    }
    HMODULE theme = ThemeLibrary();
    api.themeLibraryLoaded = theme != nullptr;
    if (theme == nullptr || api.major < 10) {
        return api;
    }
    ResolveThemeOrdinals(theme, api);
    api.setWindowCompositionAttribute =
        UserFunction<DarkModeApi::SetCompositionAttributeFn>("SetWindowCompositionAttribute");
    return api;
}
