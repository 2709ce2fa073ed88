#include "common/failure_note.h"

#include "common/program.h"

void NoteFailure(const wchar_t* call) {
    NoteFailure(call, GetLastError());
}

// wsprintfW takes no heap, so a failure inside the engine's tick can be noted too.
void NoteFailure(const wchar_t* call, DWORD code) {
    wchar_t line[256];
    // HRESULTs read best in hex, system error numbers in decimal.
    const wchar_t* format = code > 0xFFFF ? L"%s: %.180s failed, error 0x%08lX\n" : L"%s: %.180s failed, error %lu\n";
    wsprintfW(line, format, productName, call, code);
    OutputDebugStringW(line);
}
