// Dialogs laid out at the DPI of the monitor they are on. A dialog started at a DPI has its
// controls where the template's dialog units, in the template's font at that DPI, put them;
// after a move to a monitor of another DPI each control goes back to the template and is placed
// as a start there would place it (scaling the current rectangles would add up rounding). The
// system's own scaling of dialogs (per-monitor v2) is switched off for the program's dialogs,
// so Windows and Wine, which scales nothing, lay them out alike.
#pragma once
#include <windows.h>

#include "common/scoped_handle.h"

// Stops the dialog manager from answering DPI changes of `dialog` and its controls (Windows 10
// 1703 and later; older systems and Wine have no such answer). The program does it all.
void TakeOverDpiScaling(HWND dialog);

// SetDialogDpiChangeBehavior and SetDialogControlDpiChangeBehavior alike: a window and two
// masks of its behaviours (DDC_, DCDC_). Looked up in user32 while null; a test puts stand-ins
// here.
using DpiBehaviourFn = BOOL(WINAPI*)(HWND, int, int);
extern DpiBehaviourFn setDialogDpiBehaviour;
extern DpiBehaviourFn setControlDpiBehaviour;

// The size of `dialog`'s window (from template `templateId`) at `dpi`, as a start there makes
// it; false when the template cannot be read.
bool DialogSizeAtDpi(HWND dialog, int templateId, UINT dpi, SIZE* size);

// What a dialog laid out at another DPI than its start's keeps for its controls: their font and
// the picture of an icon control. Kept for the dialog's life.
struct DpiLayoutObjects {
    ScopedGdiObject font;
    ScopedIcon icon;
};

// Places every control of `dialog` made from template `templateId` where a start at `dpi` puts
// it, in the template's font at `dpi`; icon and bitmap controls take their picture anew (icons
// at the icon size of `dpi`) and with it their size. False when the template cannot be read.
bool LayOutFromTemplate(HWND dialog, int templateId, UINT dpi, DpiLayoutObjects& objects);

// WM_GETDPISCALEDSIZE of a dialog laid out by LayOutFromTemplate: its size at the new DPI.
INT_PTR AnswerDpiScaledSize(HWND dialog, int templateId, WPARAM wParam, LPARAM lParam);

// WM_DPICHANGED's suggested rectangle (lParam) taken as the window's.
void TakeSuggestedRect(HWND dialog, LPARAM lParam);
