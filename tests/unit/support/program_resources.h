// The built exe's resources for unit tests, which link only the program's code.
#pragma once
#include <windows.h>

#include <string>

// The built exe's path as the test process (under Wine) sees it.
inline std::wstring ProgramPath() {
    std::wstring path = L"Z:";
    for (const char* c = VELMORA_EXE_PATH; *c != '\0'; ++c) {
        path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    }
    return path;
}

// The exe loaded as a data file (to be freed with FreeLibrary); null if it cannot be read.
inline HMODULE LoadProgramResources() {
    return LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
}
