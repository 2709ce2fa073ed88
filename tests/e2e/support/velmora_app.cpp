#include "e2e/support/velmora_app.h"

namespace e2e {

VelmoraApp::VelmoraApp(const std::wstring& exeName) : ownFolder_(std::make_unique<TempFolder>()) {
    folderPath_ = ownFolder_->Path();
    exe_ = folderPath_ + L"\\" + exeName;
    CopyFileW(VelmoraBuildExe().c_str(), exe_.c_str(), FALSE);
}

VelmoraApp::VelmoraApp(const std::wstring& folder, const std::wstring& exeName)
    : folderPath_(folder), exe_(folder + L"\\" + exeName) {
    CopyFileW(VelmoraBuildExe().c_str(), exe_.c_str(), FALSE);
}

VelmoraApp::~VelmoraApp() {
    if (process_.Running() && End(10000) < 0) {
        EndWithExitWord(10000);
    }
    process_.Kill();
}

std::wstring VelmoraApp::IniPath() const {
    size_t dot = exe_.find_last_of(L'.');
    size_t slash = exe_.find_last_of(L'\\');
    if (dot == std::wstring::npos || dot < slash) {
        return exe_ + L".ini";
    }
    return exe_.substr(0, dot) + L".ini";
}

Process& VelmoraApp::Start(const std::wstring& arguments, const std::vector<std::wstring>& environment) {
    process_ = Process::Start(exe_, arguments, environment);
    return process_;
}

long long VelmoraApp::RunToExit(const std::wstring& arguments, DWORD timeoutMs,
                                const std::vector<std::wstring>& environment) {
    Process other = Process::Start(exe_, arguments, environment);
    return other.WaitForExit(timeoutMs);
}

HWND VelmoraApp::WaitForMainWindow(DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindProcessWindow(process_.Id(), L"Velmora")) != nullptr; }, timeoutMs);
    return found;
}

HWND VelmoraApp::WaitForDialog(DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindProcessWindow(process_.Id(), L"#32770")) != nullptr; }, timeoutMs);
    return found;
}

long long VelmoraApp::End(DWORD timeoutMs) {
    HWND mainWindow = FindProcessWindow(process_.Id(), L"Velmora");
    if (mainWindow == nullptr || !PostMessageW(mainWindow, WM_CLOSE, 0, 0)) {
        return -1;
    }
    return process_.WaitForExit(timeoutMs);
}

long long VelmoraApp::EndWithExitWord(DWORD timeoutMs) {
    RunToExit(L"exit", timeoutMs);
    return process_.WaitForExit(timeoutMs);
}

}  // namespace e2e
