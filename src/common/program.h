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

// Icon resource `id` of `module` (the program's: ProgramInstance()) drawn at `size` x `size`
// pixels: its own image of that size where it has one, else the nearest scaled. Never the
// system's shared copy, which is the first size ever loaded under that name, whatever size is
// asked: the caller destroys it. `loadImage` is LoadImageW; tests hand in one that caches
// as Windows does.
using LoadImageFunction = HANDLE(WINAPI*)(HINSTANCE, LPCWSTR, UINT, int, int, UINT);
HICON LoadIconAtSize(HMODULE module, int id, int size, LoadImageFunction loadImage = LoadImageW);

// The running exe's full path, however long; empty when it cannot be read whole (a cut path
// would name some other file).
std::wstring ExecutablePath();

// The user's temporary folder, ending with a backslash; empty when it cannot be read.
std::wstring TemporaryFolder();
