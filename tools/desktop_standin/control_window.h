// The stand-in's session: the options in force, the hidden control window through which
// tests drive it (standin_protocol.h), and rebuilding the shell windows on request without
// pulling them from under an open context menu.
#pragma once
#include <windows.h>

#include "standin_options.h"

namespace standin {

bool RegisterControlClass(HINSTANCE instance);

// Builds the shell windows and the secondary taskbars; the control window follows once the
// icons are placed.
bool StartSession(const StandinOptions& options);

// Destroys every window of the session. Safe to call twice.
void EndSession();

// The desktop view `defView` has placed its icons.
void OnDesktopViewReady(HWND defView);

// A context menu has closed: requests held back while it was open can run now.
void AfterMenuClosed();

}  // namespace standin
