// Uninstall: the Run value removed, and a batch left behind that deletes the exe and its
// settings once the program has ended.
#pragma once
#include <windows.h>

#include <string>

#include "common/path_names.h"

// How often, a second apart, the self-delete batch tries to delete the exe before it gives up.
inline constexpr int kSelfDeleteTries = 60;

// The self-delete batch's bytes in code page `codePage`: it deletes `exe` once the program has
// ended, then `ini` and itself (`batch`); if the exe stays, only itself. Each path goes by
// PathInCodePage; empty when one cannot: a character turned into "?" would be a wildcard for
// DEL, and DEL refuses a path of MAX_PATH characters or more.
std::string SelfDeleteBatchText(const wchar_t* exe,
                                const wchar_t* ini,
                                const wchar_t* batch,
                                UINT codePage,
                                ShortPathLookup shortPath);

// Writes the self-delete batch into the temporary folder and starts it hidden. False when it
// could not be written or started.
bool WriteSelfDeleteBatch();

// Asks whether to uninstall; on Yes removes the Run value, leaves the self-delete batch behind,
// opens the uninstall page and ends the program with exit code 0. When the batch cannot be
// written or started, the user is told which files stay instead of seeing the page.
void Uninstall(HWND dialog);
