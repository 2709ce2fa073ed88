// The program from start-up to the end of its message loop.
#pragma once
#include <windows.h>

// Returns the process exit code: the quit message's code, or 1 after an exit broadcast.
int RunVelmora(HINSTANCE instance, const wchar_t* commandLine);
