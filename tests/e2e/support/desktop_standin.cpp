#include "e2e/support/desktop_standin.h"

#include <shlobj.h>

#include <string>

namespace e2e {

namespace {

constexpr DWORD kCommandTimeoutMs = 5000;
constexpr DWORD kQuitTimeoutMs = 10000;
constexpr wchar_t kAdvancedKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";

LRESULT SendToControl(HWND control, UINT message, WPARAM wParam, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    if (control == nullptr ||
        !SendMessageTimeoutW(control, message, wParam, lParam, SMTO_ABORTIFHUNG, kCommandTimeoutMs, &result)) {
        return 0;
    }
    return static_cast<LRESULT>(result);
}

// A stand-in left over (by a crashed test, say) would give the desktop twice.
void EndOtherStandins() {
    HWND control = nullptr;
    while ((control = FindWindowW(standin::kControlClass, nullptr)) != nullptr) {
        DWORD id = 0;
        GetWindowThreadProcessId(control, &id);
        HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id);
        SendToControl(control, standin::kQuitMessage, 0);
        if (process != nullptr) {
            if (WaitForSingleObject(process, kQuitTimeoutMs) != WAIT_OBJECT_0) {
                TerminateProcess(process, 99);
                WaitForSingleObject(process, kQuitTimeoutMs);
            }
            CloseHandle(process);
        }
        if (!WaitUntil([control] { return !IsWindow(control); }, kQuitTimeoutMs)) {
            return;
        }
    }
}

HWND DefViewUnder(HWND top) {
    return top != nullptr ? FindWindowExW(top, nullptr, L"SHELLDLL_DefView", nullptr) : nullptr;
}

std::vector<HWND> TopLevelWindowsOfClass(const wchar_t* className) {
    std::vector<HWND> windows;
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, className, nullptr)) != nullptr) {
        windows.push_back(window);
    }
    return windows;
}

const wchar_t* LayoutWord(Layout layout) {
    switch (layout) {
        case Layout::kWorkerW:
            return L"--layout=workerw";
        case Layout::kProgman24H2:
            return L"--layout=24h2";
        case Layout::kProgman:
        default:
            return L"--layout=progman";
    }
}

}  // namespace

Layout EffectiveLayout(Layout requested) {
    wchar_t value[16] = L"";
    const DWORD length = GetEnvironmentVariableW(L"VELMORA_STANDIN_LAYOUT", value, 16);
    if (requested == Layout::kProgman && length > 0 && length < 16 && lstrcmpiW(value, L"24h2") == 0) {
        return Layout::kProgman24H2;
    }
    return requested;
}

bool DesktopStandin::Start(const StandinOptions& options) {
    Stop();
    EndOtherStandins();
    SetShellHideIconsSetting(options.shellHideIcons);
    std::wstring arguments = LayoutWord(EffectiveLayout(options.layout));
    arguments += L" --secondary-taskbars=" + std::to_wstring(options.secondaryTaskbars);
    process_ = Process::Start(StandinBuildExe(), arguments);
    generation_ = 0;
    return process_.Started() && WaitUntilReady();
}

void DesktopStandin::Stop() {
    if (!process_.Started()) {
        return;
    }
    SendToControl(Control(), standin::kQuitMessage, 0);
    lastExitCode_ = process_.WaitForExit(kQuitTimeoutMs);
    if (lastExitCode_ < 0) {
        process_.Kill();
    }
    process_ = Process{};
    generation_ = 0;
    SetShellHideIconsSetting(false);
}

bool DesktopStandin::Restart(DWORD gapMs) {
    return BeginRestart(gapMs) && WaitUntilReady(gapMs + kStandinReadyTimeoutMs);
}

bool DesktopStandin::Hang(DWORD ms) {
    return Send(standin::kHangMessage, ms) == 1;
}

void DesktopStandin::EndHang() const {
    const std::wstring name = standin::kHangEndEventPrefix + std::to_wstring(process_.Id());
    if (HANDLE ended = OpenEventW(EVENT_MODIFY_STATE, FALSE, name.c_str())) {
        SetEvent(ended);
        CloseHandle(ended);
    }
}

bool DesktopStandin::Answers(DWORD ms) const {
    DWORD_PTR result = 0;
    HWND control = Control();
    return control != nullptr && SendMessageTimeoutW(control, WM_NULL, 0, 0, SMTO_NORMAL, ms, &result) != 0;
}

bool DesktopStandin::BeginRestart(DWORD gapMs) {
    return Send(standin::kRestartMessage, gapMs) == 1;
}

bool DesktopStandin::WaitUntilReady(DWORD timeoutMs) {
    return WaitUntil(
        [this] {
            LRESULT generation = Send(standin::kQueryReadyMessage, 0);
            if (generation > generation_) {
                generation_ = generation;
                return true;
            }
            return false;
        },
        timeoutMs);
}

bool DesktopStandin::SetLayout(Layout layout) {
    return Send(standin::kSetLayoutMessage, static_cast<WPARAM>(EffectiveLayout(layout))) == 1 && WaitUntilReady();
}

bool DesktopStandin::SetSecondaryTaskbars(int count) {
    return count >= 0 && Send(standin::kSetTaskbarCountMessage, static_cast<WPARAM>(count)) == 1;
}

bool DesktopStandin::SetSecondaryTaskbarRect(int index, const RECT& rect) {
    standin::TaskbarRectRequest request{index, rect};
    COPYDATASTRUCT data = {};
    data.dwData = standin::kSetTaskbarRectData;
    data.cbData = sizeof(request);
    data.lpData = &request;
    return SendToControl(Control(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)) == 1;
}

HWND DesktopStandin::Progman() {
    return FindWindowW(nullptr, L"Program Manager");
}

HWND DesktopStandin::DefView() {
    if (HWND view = DefViewUnder(Progman())) {
        return view;
    }
    for (HWND worker : Workers()) {
        if (HWND view = DefViewUnder(worker)) {
            return view;
        }
    }
    return nullptr;
}

HWND DesktopStandin::ListView() {
    HWND view = DefView();
    return view != nullptr ? FindWindowExW(view, nullptr, L"SysListView32", nullptr) : nullptr;
}

std::vector<HWND> DesktopStandin::Workers() {
    return TopLevelWindowsOfClass(L"WorkerW");
}

std::vector<HWND> DesktopStandin::SecondaryTaskbars() {
    return TopLevelWindowsOfClass(L"Shell_SecondaryTrayWnd");
}

bool DesktopStandin::IconsVisible() {
    HWND listView = ListView();
    return listView != nullptr && IsWindowVisible(listView);
}

bool DesktopStandin::ShellHideIconsSetting() {
    SHELLFLAGSTATE state = {};
    SHGetSettings(&state, SSF_HIDEICONS);
    return state.fHideIcons != 0;
}

void DesktopStandin::SetShellHideIconsSetting(bool hide) {
    DWORD value = hide ? 1 : 0;
    RegSetKeyValueW(HKEY_CURRENT_USER, kAdvancedKey, L"HideIcons", REG_DWORD, &value, sizeof(value));
}

HWND DesktopStandin::Control() const {
    return process_.Started() ? FindProcessWindow(process_.Id(), standin::kControlClass) : nullptr;
}

LRESULT DesktopStandin::Send(UINT message, WPARAM wParam) const {
    return SendToControl(Control(), message, wParam);
}

}  // namespace e2e
