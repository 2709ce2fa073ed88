// Loading the system's DLLs at run time from the system directory alone: Velmora is portable
// and often runs from a Downloads folder, where a DLL of the same name must never be loaded.
#pragma once
#include <windows.h>

// The DLL `name` ("MAPI32.DLL") from the system directory, or null. The caller keeps it.
HMODULE LoadSystemLibrary(const wchar_t* name);

// UxTheme.dll, loaded on first use and kept for the run; null where the system has none.
HMODULE ThemeLibrary();

// Makes the system directory the only place the process's later loads search by default,
// where the system offers that (Windows 8, or Windows 7 and Vista with update KB2533623).
void RestrictDllSearchToSystem();
