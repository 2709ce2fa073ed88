// Failures that only a developer needs to hear of: one line on the debugger's output, such
// as "Velmora: CreateThread (tray icon) failed, error 8". The user sees nothing of it; what
// the user must know is shown where it happens.
#pragma once
#include <windows.h>

// With the calling thread's last error, for calls that set it. Call it before anything else
// can change that error.
void NoteFailure(const wchar_t* call);

// With the code the call handed back itself: a registry error, an HRESULT, ShellExecute's
// result.
void NoteFailure(const wchar_t* call, DWORD code);
