// Helpers for end-to-end tests: the real Velmora.exe in a folder of its own, processes with
// exit codes, waiting for conditions with deadlines, and real input.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace e2e {

// Paths handed over by the build as Unix paths; Wine maps them under Z:.
std::wstring WindowsPath(const char* buildPath);
std::wstring VelmoraBuildExe();
std::wstring StandinBuildExe();

// A fresh folder under the temporary folder, removed with its files at the end of the test.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::wstring& Path() const { return path_; }
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

// A started program. The destructor kills it if it is still running.
class Process {
public:
    Process() = default;
    ~Process();
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    static Process Start(const std::wstring& exe, const std::wstring& arguments = L"",
                         const std::vector<std::wstring>& environment = {});
    bool Started() const { return process_ != nullptr; }
    DWORD Id() const { return id_; }
    bool Running() const;
    // The exit code, or -1 when it has not ended within the time.
    long long WaitForExit(DWORD timeoutMs);
    void Kill();

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// Polls `condition` every 10 ms until it holds or the deadline passes.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// Top-level windows of a process, and the first of a class.
HWND FindProcessWindow(DWORD processId, const wchar_t* className);

// Real input. Under Wine SetCursorPos sometimes leaves the cursor where it was, so the move is
// repeated until GetCursorPos confirms it.
bool MoveCursor(int x, int y);
// One mouse button event (MOUSEEVENTF_LEFTDOWN, ...), for a test that holds a button until
// it has seen the program act.
void SendButton(DWORD flag);
// Holds a mouse button long enough for a 30 ms poll in another process to see it.
void HoldButton(DWORD downFlag, DWORD upFlag, DWORD holdMs = 150);
void HoldLeftButton(DWORD holdMs = 150);
void HoldRightButton(DWORD holdMs = 150);
void HoldMiddleButton(DWORD holdMs = 150);
void PressKeys(const std::vector<WORD>& keys, DWORD holdMs = 150);

// A whole file as UTF-16 from an INI written by the profile calls, and a direct key read.
std::wstring ReadIniValue(const std::wstring& iniPath, const wchar_t* key);
void WriteIniValue(const std::wstring& iniPath, const wchar_t* key, const wchar_t* value);
bool FileExists(const std::wstring& path);

}  // namespace e2e
