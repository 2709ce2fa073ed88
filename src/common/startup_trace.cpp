#include "common/startup_trace.h"

#include <windows.h>

#include <cstdio>

namespace {

struct Trace {
    HANDLE file = INVALID_HANDLE_VALUE;
    double createdMs = 0;  // process creation on the performance counter's time line
    double ticksPerMs = 1;
};

double FileTimeMs(const FILETIME& time) {
    return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime) /
           10000.0;
}

double CounterMs(const Trace& trace) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / trace.ticksPerMs;
}

// The creation time is wall-clock time; the counter is read beside the clock once to put it on
// the counter's time line.
Trace OpenTrace() {
    Trace trace;
    wchar_t path[MAX_PATH];
    DWORD length = GetEnvironmentVariableW(L"VELMORA_STARTUP_TRACE", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return trace;
    }
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    trace.ticksPerMs = static_cast<double>(frequency.QuadPart) / 1000.0;
    FILETIME created, exited, kernel, user, now;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    GetSystemTimePreciseAsFileTime(&now);
    trace.createdMs = CounterMs(trace) - (FileTimeMs(now) - FileTimeMs(created));
    trace.file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    return trace;
}

}  // namespace

void MarkStartup(const char* step) {
    static const Trace trace = OpenTrace();
    if (trace.file == INVALID_HANDLE_VALUE) {
        return;
    }
    char line[160];
    int length = std::snprintf(line, sizeof(line), "%8.2f %s\r\n", CounterMs(trace) - trace.createdMs, step);
    length = length < 0 ? 0 : length >= static_cast<int>(sizeof(line)) ? static_cast<int>(sizeof(line)) - 1 : length;
    DWORD written = 0;
    WriteFile(trace.file, line, static_cast<DWORD>(length), &written, nullptr);
}
