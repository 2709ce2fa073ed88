// The INI file beside the executable: its location, the start-up write test, and integer
// reads and writes in section "Program".
#pragma once
#include <string>
#include <utility>

// Forms the path (the exe's path with its extension replaced by ".ini"), creates the file
// when it is missing, and, with `warnWhenUnwritable`, warns once with a message box when it
// can be neither opened nor created. Called once at start-up before any setting is read.
void LocateSettingsFile(bool warnWhenUnwritable);
// The same for a given executable path (empty when it could not be read).
void LocateSettingsFileFor(const std::wstring& exePath, bool warnWhenUnwritable = true);

// The path formed by LocateSettingsFile (empty before it).
const wchar_t* SettingsFilePath();

// Reads `key`; returns `fallback` when the key is absent or its value empty.
int ReadIntSetting(const wchar_t* key, int fallback);

// Section "Program" as the file holds it at the moment of reading: several settings from one
// look at the file, since every single read opens the file again. Gives the same answers as
// ReadIntSetting would have given at that moment.
class SettingsSnapshot {
  public:
    static SettingsSnapshot Read();
    // `entries`: "key=value" strings, each ended by a null, the list by another null.
    explicit SettingsSnapshot(std::wstring entries) : entries_(std::move(entries)) {}
    int Get(const wchar_t* key, int fallback) const;

  private:
    std::wstring entries_;
};

// Writes `value` in decimal under `key` at once. A failure is only noted for the debugger.
void WriteIntSetting(const wchar_t* key, int value);

// The INI path for an executable path: the file name's extension (after its last dot, dots
// in folder names do not count) replaced by ".ini", or ".ini" appended when it has none.
std::wstring SettingsPathForExecutable(const std::wstring& exePath);
