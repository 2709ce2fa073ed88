#include "common/window_dpi.h"

#include "common/system_library.h"

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForSystemFn = UINT(WINAPI*)();
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI

// Loaded the first time a monitor other than a window's own is asked about, not with the program.
GetDpiForMonitorFn MonitorDpiFunction() {
    HMODULE shcore = LoadSystemLibrary(L"shcore.dll");
    return shcore != nullptr ? reinterpret_cast<GetDpiForMonitorFn>(
                                   reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                             : nullptr;
}

}  // namespace

UINT ScreenDpi() {
    // Without a device context where the system can say: no round trip to the display.
    static const auto dpiForSystem = UserFunction<GetDpiForSystemFn>("GetDpiForSystem");
    if (dpiForSystem != nullptr) {
        return dpiForSystem();
    }
    HDC screen = GetDC(nullptr);
    int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

UINT DpiOfWindow(HWND window) {
    static const auto dpiForWindow = UserFunction<GetDpiForWindowFn>("GetDpiForWindow");
    UINT dpi = window != nullptr && dpiForWindow != nullptr ? dpiForWindow(window) : 0;
    return dpi != 0 ? dpi : ScreenDpi();
}

int ScaleToDpi(int value, UINT dpi) {
    return MulDiv(value, static_cast<int>(dpi), static_cast<int>(kDefaultDpi));
}

int SystemMetricForDpi(int index, UINT dpi) {
    static const auto metricsForDpi = UserFunction<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    if (metricsForDpi != nullptr) {
        return metricsForDpi(index, dpi);
    }
    UINT screenDpi = ScreenDpi();
    int metric = GetSystemMetrics(index);
    return screenDpi == dpi ? metric : MulDiv(metric, static_cast<int>(dpi), static_cast<int>(screenDpi));
}

UINT DpiOfMonitorAt(POINT at, HWND window) {
    HMONITOR monitor = MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST);
    if (window != nullptr && MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST) == monitor) {
        return DpiOfWindow(window);
    }
    static const GetDpiForMonitorFn dpiForMonitor = MonitorDpiFunction();
    UINT x = 0;
    UINT y = 0;
    if (dpiForMonitor != nullptr && SUCCEEDED(dpiForMonitor(monitor, kEffectiveDpi, &x, &y)) && y != 0) {
        return y;
    }
    return ScreenDpi();
}

HFONT FontOfHeight(HFONT font, LONG height) {
    LOGFONTW logFont = {};
    if (GetObjectW(font, sizeof(logFont), &logFont) == 0) {
        return nullptr;
    }
    logFont.lfHeight = height;
    return CreateFontIndirectW(&logFont);
}

HFONT FontAtDpi(HFONT font, UINT dpi) {
    const UINT screenDpi = ScreenDpi();
    LOGFONTW logFont = {};
    if (dpi == screenDpi || GetObjectW(font, sizeof(logFont), &logFont) == 0) {
        return nullptr;
    }
    logFont.lfHeight = MulDiv(logFont.lfHeight, static_cast<int>(dpi), static_cast<int>(screenDpi));
    return CreateFontIndirectW(&logFont);
}
