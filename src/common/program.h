// What every part of the program knows about the program itself: its name and its module.
#pragma once
#include <windows.h>

#include <string>

// The name of the mutex, of the message between instances, of the tray tip, and of the
// files and web paths the program makes.
inline constexpr wchar_t productName[] = L"Velmora";

// The module of the running exe: the owner of every resource and window class the program
// uses. The program is one exe without DLLs of its own, so this is wWinMain's instance.
inline HINSTANCE ProgramInstance() {
    return GetModuleHandleW(nullptr);
}

// The running exe's full path, however long; empty when it cannot be read whole (a cut path
// would name some other file).
std::wstring ExecutablePath();

// The user's temporary folder, ending with a backslash; empty when it cannot be read.
std::wstring TemporaryFolder();
