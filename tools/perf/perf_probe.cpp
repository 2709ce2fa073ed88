// Measures a running program from outside, for the figures of the settings dialog:
//
//   perf_probe startup RUNS EXE1 EXE2    ms from process start to a visible dialog, the two
//                                        programs started in turns
//   perf_probe soak NAME TICKS           drives TICKS timer messages through the running
//                                        exe's dialog; reports its GDI objects and windows
//   perf_probe click PRESSES             ms from a left press on the empty desktop to the
//                                        icons shown, while a program hides them after 1 s
//
// GetGuiResources is a stub under Wine, so GDI objects are counted in the process's own GDI
// handle table (PEB GdiSharedHandleTable), and USER objects as the process's windows plus a
// probe of the window manager's free list. Wine does not give other processes' CPU times or
// memory counters either: measure.sh reads those from Linux.
#include <windows.h>
#include <winternl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "gdi_objects.h"
#include "resource_ids.h"

namespace {

constexpr UINT_PTR kDialogTimerId = 4000;

// The first running process whose exe has this file name, 0 when there is none.
DWORD FindProcessId(const wchar_t* exeName) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    DWORD found = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && found == 0; more = Process32NextW(snapshot, &entry)) {
        if (_wcsicmp(entry.szExeFile, exeName) == 0) {
            found = entry.th32ProcessID;
        }
    }
    CloseHandle(snapshot);
    return found;
}

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

struct Search {
    DWORD processId;
    HWND found;
    int windows;
};

BOOL CALLBACK CountChild(HWND, LPARAM param) {
    ++reinterpret_cast<Search*>(param)->windows;
    return TRUE;
}

BOOL CALLBACK VisitTopLevel(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId) {
        return TRUE;
    }
    ++search->windows;
    EnumChildWindows(window, CountChild, param);
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    if (search->found == nullptr && wcscmp(name, L"#32770") == 0 && IsWindowVisible(window)) {
        search->found = window;
    }
    return TRUE;
}

Search Survey(DWORD processId) {
    Search search{processId, nullptr, 0};
    EnumWindows(VisitTopLevel, reinterpret_cast<LPARAM>(&search));
    return search;
}

HWND FindDialog(DWORD processId) {
    Search search{processId, nullptr, 0};
    EnumWindows(VisitTopLevel, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) {
        return search.found;
    }
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, L"#32770", nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId) {
            return window;
        }
    }
    return nullptr;
}

// The window manager hands out the most recently freed USER handle first: the same slot before
// and after a run means no USER object was left behind by anyone in between.
unsigned UserHandleProbe() {
    HMENU menu = CreateMenu();
    unsigned slot = static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(menu) & 0xFFFF);
    DestroyMenu(menu);
    return slot;
}

void EndProcess(PROCESS_INFORMATION& info, HWND dialog) {
    // The yardstick ends on WM_CLOSE; Velmora hides on it and ends on its Exit command.
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(info.hProcess, 500) == WAIT_TIMEOUT) {
        PostMessageW(dialog, WM_COMMAND, IDM_EXIT, 0);
        if (WaitForSingleObject(info.hProcess, 5000) == WAIT_TIMEOUT) {
            TerminateProcess(info.hProcess, 99);
            WaitForSingleObject(info.hProcess, 5000);
        }
    }
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
}

// One start of `exe`: the time from creating its process to its first visible dialog.
double TimeOneStart(const std::wstring& exe) {
    std::wstring line = L"\"" + exe + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    // Now and then Wine refuses a start while the last run's process is still being taken down.
    double start = 0;
    for (int attempt = 0;; ++attempt) {
        start = NowMs();
        if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
            break;
        }
        if (attempt == 4) {
            return -1;
        }
        Sleep(300);
    }
    HWND dialog = nullptr;
    while ((dialog = Survey(info.dwProcessId).found) == nullptr && NowMs() - start < 30000) {
        Sleep(1);
    }
    double elapsed = NowMs() - start;
    EndProcess(info, dialog);
    Sleep(300);
    return elapsed;
}

void PrintTimes(const std::wstring& exe, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    wprintf(L"%-24ls median %6.1f ms, min %6.1f ms, max %6.1f ms\n", exe.c_str(), times[times.size() / 2],
            times.front(), times.back());
}

// The two programs start in turns, so that load from elsewhere on the machine falls on both.
int Startup(int runs, const std::wstring& first, const std::wstring& second) {
    std::vector<double> firstTimes;
    std::vector<double> secondTimes;
    for (int run = 0; run < runs; ++run) {
        const double firstTime = TimeOneStart(first);
        const double secondTime = TimeOneStart(second);
        if (firstTime < 0 || secondTime < 0) {
            wprintf(L"run %d left out: a program could not be started\n", run);
            continue;
        }
        firstTimes.push_back(firstTime);
        secondTimes.push_back(secondTime);
    }
    runs = static_cast<int>(firstTimes.size());
    if (runs == 0) {
        return 1;
    }
    PrintTimes(first, firstTimes);
    PrintTimes(second, secondTimes);
    // Each of the second's starts against the first's just before it: a slow spell of the
    // machine falls on both of a pair, so the median of these ratios drifts least.
    std::vector<double> pairRatios;
    for (int run = 0; run < runs; ++run) {
        pairRatios.push_back(secondTimes[run] / firstTimes[run]);
    }
    std::sort(pairRatios.begin(), pairRatios.end());
    std::sort(firstTimes.begin(), firstTimes.end());
    std::sort(secondTimes.begin(), secondTimes.end());
    wprintf(L"ratio of medians %.2f, of minima %.2f, median of the ratios of pairs %.2f\n",
            secondTimes[runs / 2] / firstTimes[runs / 2], secondTimes.front() / firstTimes.front(),
            pairRatios[runs / 2]);
    return 0;
}

void Report(const wchar_t* label, HANDLE process, DWORD processId) {
    Search survey = Survey(processId);
    wprintf(L"%-6ls GDI objects %4d, windows %3d, USER free-list slot %5u\n", label, CountGdiObjects(process),
            survey.windows, UserHandleProbe());
}

// Rests the cursor on the empty desktop and nudges it there in turns: with a one-second idle
// time and showing by cursor movement, every second turn hides the icons and the next shows
// them, so the ticks go through hiding and showing (and the colour window) again and again.
void StirCursor(long long turn) {
    int nudge = static_cast<int>(turn % 2) * 40;
    SetCursorPos(1100 + nudge, 300 + nudge);  // right of the centred dialog
}

// Whether the desktop icons (the shell's list view under "Program Manager") are shown.
bool IconsShown() {
    HWND view = FindWindowExW(FindWindowW(nullptr, L"Program Manager"), nullptr, L"SHELLDLL_DefView", nullptr);
    return IsWindowVisible(FindWindowExW(view, nullptr, L"SysListView32", nullptr)) != 0;
}

int Soak(DWORD processId, long long ticks) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    HWND dialog = FindDialog(processId);
    if (process == nullptr || dialog == nullptr) {
        wprintf(L"no such process or dialog\n");
        return 1;
    }
    Report(L"start", process, processId);
    constexpr int kBatch = 100;
    constexpr int kTicksPerTurn = 2000;
    constexpr DWORD kTurnPauseMs = 1300;  // longer than the idle time of one second
    constexpr DWORD kPollMs = 50;
    double start = NowMs();
    int hidings = 0;
    bool shown = IconsShown();
    for (long long tick = 0; tick < ticks; tick += kBatch) {
        if (tick % kTicksPerTurn == 0) {
            StirCursor(tick / kTicksPerTurn);
            for (DWORD waited = 0; waited < kTurnPauseMs; waited += kPollMs) {
                Sleep(kPollMs);
                hidings += shown && !IconsShown() ? 1 : 0;
                shown = IconsShown();
            }
        }
        for (int i = 0; i < kBatch; ++i) {
            PostMessageW(dialog, WM_TIMER, kDialogTimerId, 0);
        }
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_BLOCK, 30000, &ignored);
        if ((tick + kBatch) % (ticks / 10) == 0) {
            wchar_t label[32];
            wsprintfW(label, L"%d%%", static_cast<int>((tick + kBatch) * 100 / ticks));
            Report(label, process, processId);
        }
    }
    wprintf(L"%lld ticks in %.1f s; the icons hid %d times\n", ticks, (NowMs() - start) / 1000.0, hidings);
    CloseHandle(process);
    return 0;
}

void PressLeftButton(bool down) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof(input));
}

// Each press waits for the icons to be hidden, presses on the empty desktop and times the wait
// for them to be shown, polling every millisecond; the button is held until then, as a user's
// press outlasts the program's tick.
int Click(int presses) {
    std::vector<double> times;
    for (int press = 0; press < presses; ++press) {
        SetCursorPos(1100, 300 + press % 2);
        const double waitStart = NowMs();
        while (IconsShown() && NowMs() - waitStart < 10000) {
            Sleep(5);
        }
        if (IconsShown()) {
            wprintf(L"the icons never hid: is the program running with auto_hide_icons_sec=1?\n");
            return 1;
        }
        // A user's press falls anywhere between two ticks: a fixed pause after the hiding tick
        // would press at one place of the tick's cycle (and of Wine's 50 ms key-state cache)
        // every time. The pause is spread over two tick periods.
        Sleep(200 + static_cast<DWORD>(press * 37 % 60));
        const double start = NowMs();
        PressLeftButton(true);
        while (!IconsShown() && NowMs() - start < 5000) {
            Sleep(1);
        }
        times.push_back(NowMs() - start);
        PressLeftButton(false);
    }
    PrintTimes(L"press to icons shown", times);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"startup" && argc >= 5) {
        return Startup(_wtoi(argv[2]), argv[3], argv[4]);
    }
    if (mode == L"soak" && argc >= 4) {
        return Soak(FindProcessId(argv[2]), _wtoi64(argv[3]));
    }
    if (mode == L"click" && argc >= 3) {
        return Click(_wtoi(argv[2]));
    }
    fwprintf(stderr, L"usage: perf_probe startup RUNS EXE1 EXE2 | soak NAME TICKS | click PRESSES\n");
    return 2;
}
