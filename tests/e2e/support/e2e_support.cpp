#include "e2e/support/e2e_support.h"

#include <cstdio>


namespace e2e {

std::wstring WindowsPath(const char* buildPath) {
    std::wstring path = L"Z:";
    for (const char* c = buildPath; *c != '\0'; ++c) {
        path += (*c == '/') ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*c));
    }
    return path;
}

std::wstring VelmoraBuildExe() {
    return WindowsPath(VELMORA_EXE_PATH);
}

std::wstring StandinBuildExe() {
    return WindowsPath(VELMORA_STANDIN_PATH);
}

TempFolder::TempFolder() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    static unsigned counter = 0;
    for (;;) {
        wchar_t name[MAX_PATH];
        wsprintfW(name, L"%svelmora_e2e_%u_%u", temp, GetCurrentProcessId(), ++counter);
        if (CreateDirectoryW(name, nullptr)) {
            path_ = name;
            return;
        }
    }
}

namespace {

// Deletes a folder tree that this test run created. Refuses anything that is not one of our
// own temporary folders, skips "." and "..", and never follows links: a deletion must not be
// able to escape the folder, whatever the paths look like.
void DeleteTree(const std::wstring& path) {
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            std::wstring child = path + L"\\" + name;
            bool isFolder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            bool isLink = (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
            if (isFolder && !isLink) {
                DeleteTree(child);
            } else if (isFolder) {
                RemoveDirectoryW(child.c_str());
            } else {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryW(path.c_str());
}

}  // namespace

TempFolder::~TempFolder() {
    if (path_.find(L"velmora_e2e_") == std::wstring::npos) {
        return;
    }
    DeleteTree(L"\\\\?\\" + path_);
}

Process::~Process() {
    Kill();
    if (process_ != nullptr) {
        CloseHandle(process_);
    }
}

Process::Process(Process&& other) noexcept : process_(other.process_), id_(other.id_) {
    other.process_ = nullptr;
    other.id_ = 0;
}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        Kill();
        if (process_ != nullptr) {
            CloseHandle(process_);
        }
        process_ = other.process_;
        id_ = other.id_;
        other.process_ = nullptr;
        other.id_ = 0;
    }
    return *this;
}

Process Process::Start(const std::wstring& exe, const std::wstring& arguments,
                       const std::vector<std::wstring>& environment) {
    // Wine's process creation does not take the \\?\ form; it has no path limit of its own.
    std::wstring plainExe = exe.rfind(L"\\\\?\\", 0) == 0 ? exe.substr(4) : exe;
    std::wstring commandLine = L"\"" + plainExe + L"\"";
    if (!arguments.empty()) {
        commandLine += L" " + arguments;
    }
    // Extra variables are added to (and override) this process's environment.
    std::wstring block;
    if (!environment.empty()) {
        wchar_t* current = GetEnvironmentStringsW();
        for (const wchar_t* entry = current; *entry != L'\0'; entry += wcslen(entry) + 1) {
            std::wstring text = entry;
            bool overridden = false;
            for (const auto& extra : environment) {
                size_t eq = extra.find(L'=');
                if (eq != std::wstring::npos && _wcsnicmp(text.c_str(), extra.c_str(), eq + 1) == 0) {
                    overridden = true;
                }
            }
            if (!overridden) {
                block += text + L'\0';
            }
        }
        FreeEnvironmentStringsW(current);
        for (const auto& extra : environment) {
            block += extra + L'\0';
        }
        block += L'\0';
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    Process result;
    // A creation that fails has run no line of the program: it is reported and made again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (CreateProcessW(exe.size() >= MAX_PATH ? exe.c_str() : nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                           CREATE_UNICODE_ENVIRONMENT, environment.empty() ? nullptr : block.data(), nullptr, &startup,
                           &info)) {
            CloseHandle(info.hThread);
            result.process_ = info.hProcess;
            result.id_ = info.dwProcessId;
            break;
        }
        std::fprintf(stderr, "e2e: CreateProcess of %ls failed with error %lu\n", plainExe.c_str(), GetLastError());
        Sleep(100);
    }
    return result;
}

bool Process::Running() const {
    return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

long long Process::WaitForExit(DWORD timeoutMs) {
    if (process_ == nullptr || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) {
        return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

void Process::Kill() {
    if (Running()) {
        TerminateProcess(process_, 99);
        WaitForSingleObject(process_, 5000);
    }
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (condition()) {
            return true;
        }
        if (GetTickCount() - start > timeoutMs) {
            return condition();
        }
        Sleep(10);
    }
}

namespace {
struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK MatchProcessWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId) {
        return TRUE;
    }
    wchar_t name[256] = L"";
    GetClassNameW(window, name, 256);
    if (search->className == nullptr || wcscmp(name, search->className) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

HWND FindProcessWindow(DWORD processId, const wchar_t* className) {
    WindowSearch search{processId, className, nullptr};
    EnumWindows(MatchProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool MoveCursor(int x, int y) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        SetCursorPos(x, y);
        Sleep(25);
        SetCursorPos(x, y);
        POINT p;
        GetCursorPos(&p);
        if (p.x == x && p.y == y) {
            return true;
        }
    }
    return false;
}

void SendButton(DWORD flag) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flag;
    SendInput(1, &input, sizeof(input));
}

void HoldButton(DWORD downFlag, DWORD upFlag, DWORD holdMs) {
    SendButton(downFlag);
    Sleep(holdMs);
    SendButton(upFlag);
}

void HoldLeftButton(DWORD holdMs) {
    HoldButton(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, holdMs);
}

void HoldRightButton(DWORD holdMs) {
    HoldButton(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, holdMs);
}

void HoldMiddleButton(DWORD holdMs) {
    HoldButton(MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP, holdMs);
}

void PressKeys(const std::vector<WORD>& keys, DWORD holdMs) {
    for (WORD key : keys) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        SendInput(1, &input, sizeof(input));
    }
    Sleep(holdMs);
    for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *it;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(1, &input, sizeof(input));
    }
}

std::wstring ReadIniValue(const std::wstring& iniPath, const wchar_t* key) {
    wchar_t buffer[1024] = L"";
    GetPrivateProfileStringW(L"Program", key, L"", buffer, 1024, iniPath.c_str());
    return buffer;
}

void WriteIniValue(const std::wstring& iniPath, const wchar_t* key, const wchar_t* value) {
    WritePrivateProfileStringW(L"Program", key, value, iniPath.c_str());
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace e2e
