// Loading the system's DLLs at run time from the system directory alone: Velmora is portable
// and often runs from a Downloads folder, where a DLL of the same name must never be loaded.
#pragma once
#include <windows.h>

// The DLL `name` ("MAPI32.DLL") from the system directory, or null. The caller keeps it.
HMODULE LoadSystemLibrary(const wchar_t* name);

// UxTheme.dll, loaded on first use and kept for the run; null where the system has none.
HMODULE ThemeLibrary();

// A function of the common dialogs (comdlg32.dll), null when missing. Only the colour and file
// dialogs need the library, so it is loaded the first time one opens, not with the program.
template <typename Function>
Function CommonDialogFunction(const char* name) {
    static const HMODULE dialogs = LoadSystemLibrary(L"comdlg32.dll");
    return dialogs != nullptr ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(dialogs, name)))
                              : nullptr;
}

// A function of user32.dll that older systems lack (SetLayeredWindowAttributes before 2000,
// GetDpiForWindow before Windows 10 1607), null when missing. user32 is always loaded: the
// program imports it.
template <typename Function>
Function UserFunction(const char* name) {
    static const HMODULE user = GetModuleHandleW(L"user32.dll");
    return user != nullptr ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user, name)))
                           : nullptr;
}

// Makes the system directory the only place the process's later loads search by default,
// where the system offers that (Windows 8, or Windows 7 and Vista with update KB2533623).
void RestrictDllSearchToSystem();
