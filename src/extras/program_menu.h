// The program menu of the menu bar and what its commands do: the maker's web pages, the
// licence, uninstall, recommending the program and sending it as a ZIP archive.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "common/path_names.h"
#include "common/text.h"

// The menu in the current language, for the menu bar to take.
HMENU BuildProgramMenu();

// Carries out a program menu command (also the link bar's notice and the FAQ button) for the
// settings dialog `dialog`. False for a command that is not one of them.
bool RunProgramMenuCommand(HWND dialog, UINT command);

// The maker's site for `language`, its top-level domain chosen by the language and the time
// zone: `biasMinutes` (UTC minus local time) is empty when the system cannot say.
Text WebBaseFor(int language, std::optional<LONG> biasMinutes);
// The same for the current language and the system's time zone.
Text GetWebBase();

// The page a web command opens for `language` on the site `base`; empty for other commands.
Text WebCommandAddress(UINT command, int language, const Text& base);

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
