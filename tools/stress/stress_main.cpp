// Starts and ends the real Velmora.exe many times, the way the end-to-end tests do, to catch
// start-up and exit races that show up once in hundreds of runs:
//
//   velmora_stress VELMORA_EXE STANDIN_EXE CYCLES DIALOGS [EXIT_DEADLINE_MS [FREEZE_MS]]
//
// Each round copies the exe into a fresh folder of its own and starts it from there, so that,
// as in the tests, it begins without an INI file and writes its own beside it. Each start/exit
// cycle waits for its main window, runs "Velmora.exe exit"
// and waits for the instance to end. Each dialog round starts it afresh and waits up to 15 s
// for its settings dialog to be visible, then ends it the same way. Every failure is printed
// with what the program's windows looked like at that moment; an instance that outlives the
// deadline is asked once more and then killed, so that one fault does not spoil the rounds
// after it. FREEZE_MS > 0 suspends the instance's GUI thread for that long from just before
// each "exit" of the start/exit cycles: what a loaded machine does to it now and then, made
// to happen every time. Exit code 0 when nothing failed.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "desktop_standin/standin_protocol.h"

namespace {

constexpr DWORD kMainWindowTimeoutMs = 15000;
constexpr DWORD kDialogTimeoutMs = 15000;
constexpr DWORD kExitWordTimeoutMs = 30000;
constexpr DWORD kDefaultExitDeadlineMs = 10000;
constexpr DWORD kStandinTimeoutMs = 20000;
constexpr long long kSecondInstanceCode = 45054;

double NowMs() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs) {
    double end = NowMs() + timeoutMs;
    for (;;) {
        if (condition()) {
            return true;
        }
        if (NowMs() > end) {
            return condition();
        }
        Sleep(10);
    }
}

struct Process {
    HANDLE handle = nullptr;
    DWORD id = 0;
};

Process Start(const std::wstring& exe, const std::wstring& arguments, const std::wstring& folder) {
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!arguments.empty()) {
        commandLine += L" " + arguments;
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    Process process;
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
        CloseHandle(info.hThread);
        process.handle = info.hProcess;
        process.id = info.dwProcessId;
    }
    return process;
}

bool Running(const Process& process) {
    return process.handle != nullptr && WaitForSingleObject(process.handle, 0) == WAIT_TIMEOUT;
}

// The exit code, or -1 when the process has not ended in time.
long long WaitForExit(const Process& process, DWORD timeoutMs) {
    if (process.handle == nullptr || WaitForSingleObject(process.handle, timeoutMs) != WAIT_OBJECT_0) {
        return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(process.handle, &code);
    return code;
}

void Close(Process& process) {
    if (process.handle != nullptr) {
        CloseHandle(process.handle);
    }
    process = Process{};
}

void Kill(Process& process) {
    if (Running(process)) {
        TerminateProcess(process.handle, 99);
        WaitForSingleObject(process.handle, 5000);
    }
}

struct Search {
    DWORD processId;  // 0: any process
    const wchar_t* className;
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (search->processId != 0 && owner != search->processId) {
        return TRUE;
    }
    wchar_t name[256] = L"";
    GetClassNameW(window, name, 256);
    if (search->className == nullptr || wcscmp(name, search->className) == 0) {
        search->found.push_back(window);
    }
    return TRUE;
}

std::vector<HWND> Windows(DWORD processId, const wchar_t* className) {
    Search search{processId, className, {}};
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND Window(DWORD processId, const wchar_t* className) {
    std::vector<HWND> found = Windows(processId, className);
    return found.empty() ? nullptr : found.front();
}

// Whether the thread behind a window answers within a second.
const char* Responsiveness(HWND window) {
    DWORD_PTR result = 0;
    double start = NowMs();
    if (SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 1000, &result) != 0) {
        return NowMs() - start > 250 ? "answers slowly" : "answers";
    }
    return "does not answer";
}

// One line of what a process shows: its main window and dialog, and whether they answer.
void Describe(const char* label, DWORD processId) {
    HWND main = Window(processId, L"Velmora");
    HWND dialog = Window(processId, L"#32770");
    std::printf("    %s pid %lu: main window %s", label, processId, main ? "present" : "absent");
    if (main) {
        std::printf(" (%s)", Responsiveness(main));
    }
    std::printf(", dialog %s", dialog ? (IsWindowVisible(dialog) ? "visible" : "hidden") : "absent");
    std::printf(", top-level windows %zu\n", Windows(processId, nullptr).size());
}

// Other Velmora main windows on the desktop, from instances the driver did not just start.
void DescribeOthers(DWORD exceptId) {
    for (HWND main : Windows(0, L"Velmora")) {
        DWORD owner = 0;
        GetWindowThreadProcessId(main, &owner);
        if (owner != exceptId) {
            Describe("other instance", owner);
        }
    }
}

struct Figures {
    int rounds = 0;
    int noMainWindow = 0;
    int missedDialogs = 0;
    int exitWordFailures = 0;
    int lingering = 0;
    int endedBySecondRequest = 0;
    std::vector<double> roundMs;
    std::vector<double> exitMs;  // from the exit word's start to the instance's end
};

std::wstring MakeFolder() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    for (unsigned n = 0;; ++n) {
        wchar_t name[MAX_PATH];
        wsprintfW(name, L"%svelmora_stress_%u_%u", temp, GetCurrentProcessId(), n);
        if (CreateDirectoryW(name, nullptr)) {
            return name;
        }
    }
}

struct Freeze {
    HANDLE thread;
    DWORD ms;
};

DWORD WINAPI ResumeLater(void* param) {
    auto* freeze = static_cast<Freeze*>(param);
    Sleep(freeze->ms);
    ResumeThread(freeze->thread);
    return 0;
}

// Suspends the thread behind `window` and starts a thread that resumes it after `ms`.
HANDLE FreezeWindowThread(HWND window, Freeze& freeze) {
    freeze.thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, GetWindowThreadProcessId(window, nullptr));
    if (freeze.thread == nullptr || SuspendThread(freeze.thread) == static_cast<DWORD>(-1)) {
        return nullptr;
    }
    return CreateThread(nullptr, 0, ResumeLater, &freeze, 0, nullptr);
}

class Stress {
  public:
    Stress(std::wstring builtExe, DWORD exitDeadlineMs, DWORD freezeMs)
        : builtExe_(std::move(builtExe)), exitDeadlineMs_(exitDeadlineMs), freezeMs_(freezeMs) {}
    ~Stress() { RemoveFolder(); }

    // A fresh folder holding only a copy of the exe.
    bool NewFolder() {
        RemoveFolder();
        folder_ = MakeFolder();
        exe_ = folder_ + L"\\Velmora.exe";
        return CopyFileW(builtExe_.c_str(), exe_.c_str(), FALSE) != 0;
    }

    // Ends the instance with the exit word; a lingering one is described, asked again, killed.
    void End(Process& instance, Figures& figures, int round) {
        double start = NowMs();
        Process word = Start(exe_, L"exit", folder_);
        long long wordCode = WaitForExit(word, kExitWordTimeoutMs);
        double wordMs = NowMs() - start;
        Kill(word);
        Close(word);
        if (wordCode != 1) {
            ++figures.exitWordFailures;
            std::printf("round %d: \"exit\" ended with %lld after %.0f ms (expected 1)\n", round, wordCode, wordMs);
        }
        if (WaitForExit(instance, exitDeadlineMs_) >= 0) {
            figures.exitMs.push_back(NowMs() - start);
            Close(instance);
            return;
        }
        ++figures.lingering;
        std::printf("round %d: LINGERING instance %.0f ms after \"exit\" (the word took %.0f ms, code %lld)\n", round,
                    NowMs() - start, wordMs, wordCode);
        Describe("lingering", instance.id);
        FreshStartBeside();
        Process again = Start(exe_, L"exit", folder_);
        WaitForExit(again, kExitWordTimeoutMs);
        Close(again);
        long long code = WaitForExit(instance, exitDeadlineMs_);
        if (code >= 0) {
            ++figures.endedBySecondRequest;
            std::printf("    a second \"exit\" ended it (code %lld)\n", code);
        } else {
            std::printf("    a second \"exit\" did not end it either; killed\n");
            Describe("still lingering", instance.id);
            Kill(instance);
        }
        Close(instance);
    }

    // What the next start does while an instance lingers (the tests start the next one then).
    void FreshStartBeside() {
        Process fresh = Start(exe_, L"", folder_);
        bool seen = false;
        WaitUntil(
            [&] {
                HWND dialog = Window(fresh.id, L"#32770");
                seen = seen || (dialog != nullptr && IsWindowVisible(dialog));
                return !Running(fresh);
            },
            kDialogTimeoutMs);
        long long code = WaitForExit(fresh, 0);
        std::printf("    a fresh start beside it: dialog %s, exit code %lld%s\n", seen ? "seen" : "never seen", code,
                    code == kSecondInstanceCode ? " (a second instance)" : "");
        Kill(fresh);
        Close(fresh);
    }

    void Cycle(Figures& figures, int round) {
        NewFolder();
        double start = NowMs();
        Process instance = Start(exe_, L"", folder_);
        HWND main = nullptr;
        WaitUntil([&] { return (main = Window(instance.id, L"Velmora")) != nullptr || !Running(instance); },
                  kMainWindowTimeoutMs);
        if (main == nullptr) {
            ++figures.noMainWindow;
            std::printf("round %d: no main window within %lu ms, exit code %lld\n", round, kMainWindowTimeoutMs,
                        WaitForExit(instance, 0));
            Describe("started", instance.id);
            DescribeOthers(instance.id);
        }
        Freeze freeze{nullptr, freezeMs_};
        HANDLE resumer = (main != nullptr && freezeMs_ > 0) ? FreezeWindowThread(main, freeze) : nullptr;
        End(instance, figures, round);
        if (resumer != nullptr) {
            WaitForSingleObject(resumer, INFINITE);
            CloseHandle(resumer);
        }
        if (freeze.thread != nullptr) {
            CloseHandle(freeze.thread);
        }
        figures.roundMs.push_back(NowMs() - start);
        ++figures.rounds;
    }

    void Dialog(Figures& figures, int round) {
        NewFolder();
        double start = NowMs();
        Process instance = Start(exe_, L"", folder_);
        HWND dialog = nullptr;
        WaitUntil(
            [&] {
                dialog = Window(instance.id, L"#32770");
                return (dialog != nullptr && IsWindowVisible(dialog)) || !Running(instance);
            },
            kDialogTimeoutMs);
        if (dialog == nullptr || !IsWindowVisible(dialog)) {
            ++figures.missedDialogs;
            std::printf("round %d: MISSED dialog: none visible within %lu ms, exit code %lld\n", round,
                        kDialogTimeoutMs, WaitForExit(instance, 0));
            Describe("started", instance.id);
            DescribeOthers(instance.id);
        }
        End(instance, figures, round);
        figures.roundMs.push_back(NowMs() - start);
        ++figures.rounds;
    }

    void RemoveFolder() {
        if (folder_.empty()) {
            return;
        }
        DeleteFileW(exe_.c_str());
        DeleteFileW((folder_ + L"\\Velmora.ini").c_str());
        RemoveDirectoryW(folder_.c_str());
        folder_.clear();
    }

  private:
    std::wstring builtExe_;
    std::wstring exe_;
    std::wstring folder_;
    DWORD exitDeadlineMs_;
    DWORD freezeMs_;
};

void PrintTimes(const char* what, std::vector<double> times) {
    if (times.empty()) {
        return;
    }
    std::sort(times.begin(), times.end());
    double sum = 0;
    for (double t : times) {
        sum += t;
    }
    std::printf("  %-26s mean %6.0f ms, median %6.0f, 95%% %6.0f, max %6.0f\n", what, sum / times.size(),
                times[times.size() / 2], times[times.size() * 95 / 100], times.back());
}

void Report(const char* title, const Figures& f) {
    std::printf("%s: %d rounds\n", title, f.rounds);
    std::printf("  no main window            %d\n", f.noMainWindow);
    std::printf("  missed dialogs            %d\n", f.missedDialogs);
    std::printf("  \"exit\" not ending with 1  %d\n", f.exitWordFailures);
    std::printf("  lingering instances       %d (ended by a second \"exit\": %d)\n", f.lingering,
                f.endedBySecondRequest);
    PrintTimes("time per round", f.roundMs);
    PrintTimes("exit word to instance end", f.exitMs);
}

// The stand-in is ready once its control window answers with a generation.
bool WaitForStandin(const Process& standin) {
    return WaitUntil(
        [&] {
            HWND control = Window(standin.id, standin::kControlClass);
            DWORD_PTR generation = 0;
            return control != nullptr &&
                   SendMessageTimeoutW(control, standin::kQueryReadyMessage, 0, 0, SMTO_ABORTIFHUNG, 1000,
                                       &generation) != 0 &&
                   generation > 0;
        },
        kStandinTimeoutMs);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 5) {
        std::fprintf(stderr,
                     "usage: velmora_stress VELMORA_EXE STANDIN_EXE CYCLES DIALOGS [EXIT_DEADLINE_MS [FREEZE_MS]]\n");
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    int cycles = _wtoi(argv[3]);
    int dialogs = _wtoi(argv[4]);
    DWORD exitDeadlineMs = argc > 5 ? static_cast<DWORD>(_wtoi(argv[5])) : kDefaultExitDeadlineMs;
    DWORD freezeMs = argc > 6 ? static_cast<DWORD>(_wtoi(argv[6])) : 0;

    if (!Windows(0, L"Velmora").empty()) {
        std::printf("a Velmora instance is already running: end it first\n");
        return 2;
    }
    // The rounds copy from a copy of their own, so that a rebuild meanwhile does not mix two
    // programs into one set of figures.
    std::wstring staging = MakeFolder();
    std::wstring stagedExe = staging + L"\\Velmora.exe";
    if (!CopyFileW(argv[1], stagedExe.c_str(), FALSE)) {
        std::printf("cannot copy %ls\n", argv[1]);
        return 2;
    }
    Stress stress(stagedExe, exitDeadlineMs, freezeMs);
    if (!stress.NewFolder()) {
        std::printf("cannot copy %ls\n", argv[1]);
        return 2;
    }
    Process standin = Start(argv[2], L"--layout=progman", L"");
    if (!WaitForStandin(standin)) {
        std::printf("the desktop stand-in did not come up\n");
        Kill(standin);
        return 2;
    }

    Figures cycleFigures, dialogFigures;
    for (int i = 1; i <= cycles; ++i) {
        stress.Cycle(cycleFigures, i);
        if (i % 50 == 0) {
            std::printf("... %d cycles\n", i);
        }
    }
    for (int i = 1; i <= dialogs; ++i) {
        stress.Dialog(dialogFigures, i);
        if (i % 50 == 0) {
            std::printf("... %d dialog starts\n", i);
        }
    }
    if (cycles > 0) {
        Report("start/exit cycles", cycleFigures);
    }
    if (dialogs > 0) {
        Report("dialog starts", dialogFigures);
    }

    HWND control = Window(standin.id, standin::kControlClass);
    if (control != nullptr) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(control, standin::kQuitMessage, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    }
    if (WaitForExit(standin, 10000) < 0) {
        Kill(standin);
    }
    stress.RemoveFolder();
    DeleteFileW(stagedExe.c_str());
    RemoveDirectoryW(staging.c_str());
    int failures = cycleFigures.noMainWindow + cycleFigures.lingering + cycleFigures.exitWordFailures +
                   dialogFigures.noMainWindow + dialogFigures.missedDialogs + dialogFigures.lingering +
                   dialogFigures.exitWordFailures;
    return failures == 0 ? 0 : 1;
}
