// Adding a file to a ZIP archive without compressing it: a stored entry with its CRC-32.
// The program's own way into an archive where the shell's ZIP folder handler is missing.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

// The CRC-32 of ZIP archives, continued from `crc` (0 for a fresh start).
std::uint32_t Crc32(const void* data, std::size_t size, std::uint32_t crc = 0);

// Appends the file `source` as a stored entry named `name` to the archive `archive`. The
// archive must be one we can extend safely: a single-part archive without a comment or
// 64-bit records, and no entry of that name yet. False, with the archive as it was, when it
// is not, when a size outgrows the format or when reading or writing fails.
bool AddStoredFile(const wchar_t* archive, const wchar_t* source, const wchar_t* name);

// Whether the archive's directory lists an entry `name` with the size and CRC-32 of the file
// `source`, whichever way it was packed: the archive holds that file whole.
bool ArchiveHoldsFile(const wchar_t* archive, const wchar_t* name, const wchar_t* source);
