// GDI objects of another process. GetGuiResources is a stub under Wine, so they are counted in
// the process's own GDI handle table (PEB GdiSharedHandleTable): an entry with a type is a live
// object. Link ntdll.
#pragma once
#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <vector>

// -1 when the table cannot be read.
inline int CountGdiObjects(HANDLE process) {
    constexpr size_t kGdiTableEntries = 0x10000;
    constexpr size_t kPebGdiTableOffset = 0xF8;  // 64-bit PEB
    struct GdiTableEntry {
        unsigned long long object;
        unsigned int owner;
        unsigned short unique;
        unsigned char type;
        unsigned char flags;
        unsigned long long user;
    };
    static_assert(sizeof(GdiTableEntry) == 24);

    PROCESS_BASIC_INFORMATION info = {};
    ULONG length = 0;
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &info, sizeof(info), &length) != 0) {
        return -1;
    }
    void* table = nullptr;
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, reinterpret_cast<char*>(info.PebBaseAddress) + kPebGdiTableOffset, &table,
                           sizeof(table), &read) ||
        table == nullptr) {
        return -1;
    }
    std::vector<GdiTableEntry> entries(kGdiTableEntries);
    ReadProcessMemory(process, table, entries.data(), entries.size() * sizeof(GdiTableEntry), &read);
    return static_cast<int>(std::count_if(entries.begin(),
                                          entries.begin() + static_cast<long>(read / sizeof(GdiTableEntry)),
                                          [](const GdiTableEntry& e) { return e.type != 0; }));
}
