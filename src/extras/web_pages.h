// The maker's web pages: which site and page a command opens, and opening it.
#pragma once
#include <windows.h>

#include <optional>

#include "common/text.h"

// The maker's site for `language`, its top-level domain chosen by the language and the time
// zone: `biasMinutes` (UTC minus local time) is empty when the system cannot say.
Text WebBaseFor(int language, std::optional<LONG> biasMinutes);
// The same for the current language and the system's time zone.
Text GetWebBase();

// The page a web command opens for `language` on the site `base`; empty for other commands.
Text WebCommandAddress(UINT command, int language, const Text& base);

// Opens the page of web command `command` in the user's browser; the FAQ, the licence and the
// uninstall page over `dialog`, whose owner the shell's own error messages then take.
void OpenWebPage(HWND dialog, UINT command);
