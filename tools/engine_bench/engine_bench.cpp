// Measures the auto-hide engine under Wine. One program, several roles:
//
//   engine_bench shell              a stand-in shell desktop ("Program Manager" with its
//                                   desktop view and a list view of a dozen icons), at the
//                                   bottom of the z-order, until it is killed
//   engine_bench cursor X Y         puts the cursor at X, Y and checks that it stayed there
//   engine_bench floor SECONDS      the floor: the dialog's two timers (200 ms, and 30 ms
//                                   killed and re-armed on every tick), one cursor read a tick
//   engine_bench velmora SECONDS    the same timers running the real RunAutoHideTick() on a
//                                   window standing in for the settings dialog, with its
//                                   countdown bar (control 1036)
//   engine_bench count              window-manager calls per tick, by kind, in a few
//                                   situations, through a counting wrapper of SystemDesktop
//
// floor and velmora measure their own CPU time (GetProcessTimes of the current process: under
// Wine it is not available for other processes) over SECONDS, after a 3 s settling time, and
// print it as a share of one core, with the number of ticks. measure.sh runs them side by side.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cwchar>

#include "desktop/auto_hide_engine.h"
#include "desktop/auto_hide_tick.h"
#include "desktop/desktop_windows.h"
#include "desktop/system_desktop.h"
#include "desktop/taskbar.h"
#include "dialog/dialog_commands.h"
#include "settings/settings.h"
#include "settings/writable_settings.h"

namespace {

constexpr DWORD kSettleMs = 3000;
constexpr DWORD kLingerMs = 2000;
constexpr RECT kShellDesktop = {0, 0, 1280, 780};  // Wine's taskbar takes the last 20 rows
constexpr POINT kRestingCursor = {640, 400};

long long FileTimeUnits(const FILETIME& time) {
    return (static_cast<long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// CPU time of this process (all threads, user and kernel) in milliseconds.
double ProcessCpuMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return static_cast<double>(FileTimeUnits(kernel) + FileTimeUnits(user)) / 10000.0;
}

double WallMs() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

HWND CreatePlainWindow(const wchar_t* className,
                       const wchar_t* title,
                       DWORD style,
                       RECT rect,
                       HWND parent,
                       WNDPROC procedure) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = procedure != nullptr ? procedure : DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = className;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BACKGROUND + 1);
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, className, title, style, rect.left, rect.top, rect.right - rect.left,
                           rect.bottom - rect.top, parent, nullptr, nullptr, nullptr);
}

void PumpMessages() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
}

// ---- shell ----------------------------------------------------------------------------------

int RunShell() {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    HWND top =
        CreatePlainWindow(L"Progman", L"Program Manager", WS_POPUP | WS_VISIBLE, kShellDesktop, nullptr, nullptr);
    SetWindowPos(top, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    HWND defView = CreatePlainWindow(L"SHELLDLL_DefView", L"", WS_CHILD | WS_VISIBLE, kShellDesktop, top, nullptr);
    HWND listView =
        CreateWindowExW(0, WC_LISTVIEWW, L"FolderView", WS_CHILD | WS_VISIBLE | LVS_ICON | LVS_EDITLABELS, 0, 0,
                        kShellDesktop.right, kShellDesktop.bottom, defView, nullptr, nullptr, nullptr);
    for (int i = 0; i < 12; ++i) {
        wchar_t name[32];
        swprintf(name, 32, L"Icon %d", i + 1);
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = name;
        SendMessageW(listView, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    PumpMessages();
    return 0;
}

// ---- cursor ---------------------------------------------------------------------------------

// SetCursorPos under Wine now and then leaves the cursor where it was: set, wait, set again.
int PlaceCursor(POINT target) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        SetCursorPos(target.x, target.y);
        Sleep(25);
        SetCursorPos(target.x, target.y);
        Sleep(25);
        POINT now;
        if (GetCursorPos(&now) && now.x == target.x && now.y == target.y) {
            return 0;
        }
    }
    std::wprintf(L"the cursor did not move to %ld, %ld\n", target.x, target.y);
    return 1;
}

// ---- floor and velmora ------------------------------------------------------------------------

struct Run {
    bool realTick = false;
    long long ticks = 0;
    long long measuredTicks = 0;
    DWORD startedAt = 0;
    DWORD seconds = 60;
    bool measuring = false;
    double cpuAtStart = 0;
    double wallAtStart = 0;
    double cpuMs = 0;
    double wallMs = 0;
    const wchar_t* icons = L"-";
};

Run run;

void FloorTick(HWND window) {
    KillTimer(window, kTickTimerId);
    POINT cursor;
    GetCursorPos(&cursor);
    SetTimer(window, kTickTimerId, kTickPeriodMs, nullptr);
}

void CheckMeasuringWindow() {
    const DWORD elapsed = GetTickCount() - run.startedAt;
    if (!run.measuring && elapsed >= kSettleMs) {
        run.measuring = true;
        run.cpuAtStart = ProcessCpuMs();
        run.wallAtStart = WallMs();
        run.measuredTicks = 0;
    } else if (run.measuring && elapsed >= kSettleMs + run.seconds * 1000) {
        run.cpuMs = ProcessCpuMs() - run.cpuAtStart;
        run.wallMs = WallMs() - run.wallAtStart;
        if (run.realTick) {
            HWND listView = FindDesktopListView().listView;
            run.icons = listView == nullptr ? L"not found" : IsWindowVisible(listView) ? L"visible" : L"hidden";
        }
        PostQuitMessage(0);
    }
}

HWND countdownBar = nullptr;

LRESULT CALLBACK TimerOwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        ++run.ticks;
        ++run.measuredTicks;
        if (run.realTick) {
            KillTimer(window, kTickTimerId);
            RunAutoHideTick(countdownBar);
            SetTimer(window, kTickTimerId, kTickPeriodMs, nullptr);
        } else {
            FloorTick(window);
        }
        CheckMeasuringWindow();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

int RunTimers(bool realTick, DWORD seconds) {
    run.realTick = realTick;
    run.seconds = seconds;
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    HWND owner = CreatePlainWindow(L"VelmoraBenchDialog", L"Velmora bench", WS_OVERLAPPED, {0, 0, 300, 100}, nullptr,
                                   TimerOwnerProc);
    if (realTick) {
        countdownBar = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 10, 10, 200, 20, owner, nullptr,
                                       nullptr, nullptr);
        SendMessageW(countdownBar, PBM_SETRANGE32, 0, settings.auto_hide_icons_sec);
        RestartIdleTime();
    }
    run.startedAt = GetTickCount();
    SetTimer(owner, kDialogTimerId, kDialogTimerPeriodMs, nullptr);
    PumpMessages();
    if (!realTick) {
        // Every program built on the core library shows the icons again when it ends; the
        // floor waits, so that this does not land in a velmora run measured beside it.
        Sleep(kLingerMs);
    }
    std::wprintf(L"%-8ls CPU %7.0f ms in %5.1f s = %5.2f %% of one core; %lld ticks (%.1f/s); icons at the end: %ls\n",
                 realTick ? L"velmora" : L"floor", run.cpuMs, run.wallMs / 1000.0, 100.0 * run.cpuMs / run.wallMs,
                 run.measuredTicks, 1000.0 * static_cast<double>(run.measuredTicks) / run.wallMs, run.icons);
    return 0;
}

// ---- count ----------------------------------------------------------------------------------

enum CallKind {
    kCursorRead,
    kKeyState,
    kFindWindow,
    kWindowFromPoint,
    kWindowRect,
    kParent,
    kNextWindow,
    kIsVisible,
    kIsWindow,
    kClassName,
    kLabelEditor,
    kShowWindow,
    kIconsShowHide,
    kCountdownBar,
    kTraceLine,
    kCallKinds
};

constexpr const wchar_t* kCallNames[kCallKinds] = {
    L"GetCursorPos",       L"GetAsyncKeyState", L"FindWindowExW",     L"WindowFromPoint",   L"GetWindowRect",
    L"GetParent",          L"GetWindow(NEXT)",  L"IsWindowVisible",   L"IsWindow",          L"GetClassNameW",
    L"LVM_GETEDITCONTROL", L"ShowWindow",       L"ApplyIconsVisible", L"PBM_SETPOS (1036)", L"OutputDebugStringW",
};

// SystemDesktop with every call counted and timed.
struct CountingDesktop {
    SystemDesktop inner;
    long long calls[kCallKinds] = {};
    double micros[kCallKinds] = {};

    template <typename Call>
    auto Timed(CallKind kind, Call call) {
        ++calls[kind];
        const double start = WallMs();
        auto result = call();
        micros[kind] += (WallMs() - start) * 1000.0;
        return result;
    }

    int Now() { return inner.Now(); }
    bool CursorPos(POINT* p) {
        return Timed(kCursorRead, [&] { return inner.CursorPos(p); });
    }
    bool KeyDown(int key) {
        return Timed(kKeyState, [&] { return inner.KeyDown(key); });
    }
    HWND Find(HWND parent, HWND after, const wchar_t* className, const wchar_t* title) {
        return Timed(kFindWindow, [&] { return inner.Find(parent, after, className, title); });
    }
    HWND WindowAt(POINT p) {
        return Timed(kWindowFromPoint, [&] { return inner.WindowAt(p); });
    }
    bool Rect(HWND h, RECT* rect) {
        return Timed(kWindowRect, [&] { return inner.Rect(h, rect); });
    }
    HWND Parent(HWND h) {
        return Timed(kParent, [&] { return inner.Parent(h); });
    }
    HWND NextBelow(HWND h) {
        return Timed(kNextWindow, [&] { return inner.NextBelow(h); });
    }
    bool Visible(HWND h) {
        return Timed(kIsVisible, [&] { return inner.Visible(h); });
    }
    bool Exists(HWND h) {
        return Timed(kIsWindow, [&] { return inner.Exists(h); });
    }
    int ClassName(HWND h, wchar_t* buffer, int size) {
        return Timed(kClassName, [&] { return inner.ClassName(h, buffer, size); });
    }
    HWND LabelEditor(HWND listView) {
        return Timed(kLabelEditor, [&] { return inner.LabelEditor(listView); });
    }
    void Show(HWND h, int command) {
        Timed(kShowWindow, [&] { return (inner.Show(h, command), 0); });
    }
    void SetIcons(HWND listView, bool show) {
        Timed(kIconsShowHide, [&] { return (inner.SetIcons(listView, show), 0); });
    }
    int Countdown() { return inner.Countdown(); }  // the program's own control: no round trip
    // Counted only when the bar was written: a hidden bar (or none) costs no message.
    bool SetCountdown(int seconds) {
        const bool written = Timed(kCountdownBar, [&] { return inner.SetCountdown(seconds); });
        calls[kCountdownBar] -= written ? 0 : 1;
        return written;
    }
    void Trace(const wchar_t* line) {
        Timed(kTraceLine, [&] { return (inner.Trace(line), 0); });
    }
    // The program's own memory: no round trip.
    int TakeButtonEvents(ButtonEvent* events, int capacity) { return inner.TakeButtonEvents(events, capacity); }
    int DoubleClickTime() { return inner.DoubleClickTime(); }
    SIZE DoubleClickSize() { return inner.DoubleClickSize(); }
    int SelectedIcons(HWND listView) { return inner.SelectedIcons(listView); }
};

struct Situation {
    const wchar_t* name;
    int autoHideSeconds;
    int hideTaskbar;
    bool moveCursor;
};

void CountSituation(const Situation& situation) {
    constexpr int kWarmUpTicks = 10;
    constexpr int kCountedTicks = 100;
    WritableSettings() = Settings{};
    WritableSettings().auto_hide_icons_sec = situation.autoHideSeconds;
    WritableSettings().hide_taskbar = situation.hideTaskbar;
    SetIconsVisible(true);
    PlaceCursor(kRestingCursor);
    RestartIdleTime();
    CountingDesktop desktop;
    for (int tick = 0; tick < kWarmUpTicks; ++tick) {
        AutoHideTickOn(desktop, engineState);
        Sleep(kTickPeriodMs);
    }
    desktop = CountingDesktop{};
    for (int tick = 0; tick < kCountedTicks; ++tick) {
        if (situation.moveCursor) {
            SetCursorPos(kRestingCursor.x + tick % 2, kRestingCursor.y);
        }
        AutoHideTickOn(desktop, engineState);
        Sleep(kTickPeriodMs);
    }
    HWND listView = FindDesktopListView().listView;
    std::wprintf(L"\n%ls (icons %ls)\n", situation.name,
                 listView == nullptr         ? L"not found"
                 : IsWindowVisible(listView) ? L"visible"
                                             : L"hidden");
    long long total = 0;
    double totalMicros = 0;
    for (int kind = 0; kind < kCallKinds; ++kind) {
        if (desktop.calls[kind] != 0) {
            std::wprintf(L"  %-20ls %5.2f calls/tick %8.1f us/tick\n", kCallNames[kind],
                         static_cast<double>(desktop.calls[kind]) / kCountedTicks,
                         desktop.micros[kind] / kCountedTicks);
            total += desktop.calls[kind];
            totalMicros += desktop.micros[kind];
        }
    }
    std::wprintf(L"  %-20ls %5.2f calls/tick %8.1f us/tick (wall), plus KillTimer and SetTimer\n", L"all",
                 static_cast<double>(total) / kCountedTicks, totalMicros / kCountedTicks);
}

// Under Wine the title lookup of "Program Manager" asks the server for the text of every
// other process's top-level window above it (all of them when there is none).
void PrintTitleLookupCost() {
    int windows = 0;
    int asked = 0;
    bool found = false;
    for (HWND h = GetTopWindow(nullptr); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
        ++windows;
        DWORD processId = 0;
        GetWindowThreadProcessId(h, &processId);
        wchar_t title[32] = {};
        InternalGetWindowText(h, title, 32);
        if (!found && processId != GetCurrentProcessId()) {
            ++asked;
        }
        found = found || std::wcscmp(title, L"Program Manager") == 0;
    }
    std::wprintf(L"%d top-level windows; the title lookup asks for the text of %d of them\n", windows, asked);
}

int CountCalls() {
    const Situation situations[] = {
        {L"cursor resting, icons visible", 3600, 0, false},
        {L"cursor resting, icons hidden", 0, 0, false},
        {L"cursor moving over the icons", 3600, 0, true},
        {L"cursor resting, icons hidden, hide_taskbar", 0, 1, false},
    };
    HWND listView = FindDesktopListView().listView;
    std::wprintf(L"desktop list view %ls\n", listView != nullptr ? L"found" : L"not found (no shell)");
    PrintTitleLookupCost();
    for (const Situation& situation : situations) {
        CountSituation(situation);
    }
    WritableSettings() = Settings{};
    SetIconsVisible(true);
    ShowTaskbars();
    PlaceCursor(kRestingCursor);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const wchar_t* role = argc > 1 ? argv[1] : L"";
    const DWORD seconds = argc > 2 ? static_cast<DWORD>(_wtoi(argv[2])) : 60;
    if (std::wcscmp(role, L"shell") == 0) {
        return RunShell();
    }
    if (std::wcscmp(role, L"cursor") == 0 && argc > 3) {
        return PlaceCursor(POINT{_wtoi(argv[2]), _wtoi(argv[3])});
    }
    if (std::wcscmp(role, L"floor") == 0) {
        return RunTimers(false, seconds);
    }
    if (std::wcscmp(role, L"velmora") == 0) {
        return RunTimers(true, seconds);
    }
    if (std::wcscmp(role, L"count") == 0) {
        return CountCalls();
    }
    std::wprintf(L"usage: engine_bench shell | cursor X Y | floor SECONDS | velmora SECONDS | count\n");
    return 2;
}
