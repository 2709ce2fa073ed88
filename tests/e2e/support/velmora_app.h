// The real Velmora.exe, copied into a fresh folder of its own so that every test starts with
// its own INI file (the exe's name with ".ini", beside it).
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "e2e/support/e2e_support.h"

namespace e2e {

class VelmoraApp {
public:
    // Copies the built exe to FOLDER\NAME (default Velmora.exe).
    explicit VelmoraApp(const std::wstring& exeName = L"Velmora.exe");
    VelmoraApp(const std::wstring& folder, const std::wstring& exeName);
    ~VelmoraApp();
    VelmoraApp(const VelmoraApp&) = delete;
    VelmoraApp& operator=(const VelmoraApp&) = delete;

    const std::wstring& ExePath() const { return exe_; }
    std::wstring IniPath() const;
    const std::wstring& Folder() const { return folderPath_; }

    // Starts an instance; the first one started is the one the helpers below look at.
    Process& Start(const std::wstring& arguments = L"", const std::vector<std::wstring>& environment = {});
    // Starts another process of the same exe and waits for its exit code (-1 on time-out).
    long long RunToExit(const std::wstring& arguments, DWORD timeoutMs = 30000,
                        const std::vector<std::wstring>& environment = {});
    Process& Running() { return process_; }

    // The hidden main window of the running instance (class "Velmora"), after waiting for it.
    HWND WaitForMainWindow(DWORD timeoutMs = 15000);
    // The settings dialog (class "#32770") of the running instance, null if none in the time.
    HWND WaitForDialog(DWORD timeoutMs = 15000);
    // Ends the running instance the way another instance would: "Velmora.exe exit".
    long long EndWithExitWord(DWORD timeoutMs = 30000);
    // Ends the running instance by closing its main window: the same end with everything
    // shown again, without starting a process for the exit word. Its exit code, -1 when it
    // has not ended in the time.
    long long End(DWORD timeoutMs = 15000);

private:
    std::unique_ptr<TempFolder> ownFolder_;
    std::wstring folderPath_;
    std::wstring exe_;
    Process process_;
};

}  // namespace e2e
