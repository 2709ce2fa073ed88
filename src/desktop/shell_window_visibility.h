// Hiding and showing the shell's windows (the icons' list view and the taskbars) so that no
// end of the program can leave them hidden:
// - a window the program hides carries a mark that outlives the program but not the window,
//   so the next run can show what a killed run left hidden, and nothing hidden by others;
// - once the program is ending (end of session, a crash on any thread) nothing hides any more,
//   and the ending waits for a hide already under way, so no late hide undoes the restore.
#pragma once
#include <windows.h>

// Both ask the window's own thread and return at once: a hung shell cannot hold the program.
// Hides `window` and marks it, unless the program is ending.
void HideShellWindow(HWND window);

// Shows `window` and removes the mark.
void ShowShellWindow(HWND window);

// Waits until each of `windows` (null ones count as shown) carries the visible style, or until
// `timeoutMs` have passed; returns whether they all do.
bool WaitUntilShown(const HWND* windows, int count, DWORD timeoutMs);

// Whether this run or an earlier one hid `window` and has not shown it since.
bool HiddenByProgram(HWND window);

// From now on every hide is ignored. Returns once no other thread is in the middle of a hide
// (or after a second, should one hang).
void StopHidingForGood();
bool HidingStopped();
