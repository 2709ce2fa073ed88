// The replacement window procedures that give the system's controls their dark look: the
// dialog (and with it message boxes and common dialogs), the list view, the rebar and the
// status bar. Each hands every message it does not handle to the procedure it replaced.
#pragma once
#include <windows.h>

void SubclassDarkDialog(HWND dialog);
// Colours, extended styles and themes for a list view and its header, then its procedure.
void SetUpDarkListView(HWND listView);
void SubclassDarkRebar(HWND rebar);
void SubclassDarkStatusBar(HWND statusBar);

// The one brush of dialog and control backgrounds, kept for the rest of the process.
HBRUSH DarkBackgroundBrush();
