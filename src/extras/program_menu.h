// The program menu of the menu bar and what its commands do: the maker's web pages, the
// licence, uninstall, recommending the program and sending it as a ZIP archive. The pages are
// extras/web_pages.h, uninstall extras/uninstall.h.
#pragma once
#include <windows.h>

// The menu in the current language, for the menu bar to take.
HMENU BuildProgramMenu();

// Carries out a program menu command (also the link bar's notice and the FAQ button) for the
// settings dialog `dialog`. False for a command that is not one of them.
bool RunProgramMenuCommand(HWND dialog, UINT command);
