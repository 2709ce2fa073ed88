// The process-wide values and objects of the application shell. Their teardown at process
// end is what always brings the desktop back.
#pragma once
#include <windows.h>

extern HINSTANCE instanceHandle;
extern HWND mainWindow;
extern HWND settingsDialog;  // the settings dialog's window, null until it exists
extern int startInBackground;  // 1 with "-bg": the settings dialog starts hidden
extern int exitRequest;        // kExitRequestMarker with "exit"
extern UINT instanceMessage;   // registered under the product name
extern wchar_t mainTitle[256];
extern wchar_t mainClassName[256];
extern HMODULE userModule;     // user32.dll, loaded once by the DPI step

inline constexpr wchar_t productName[] = L"Velmora";
inline constexpr int kExitRequestMarker = 45054;  // 0xAFFE, also a second instance's exit code
inline constexpr int kSecondInstanceExitCode = 45054;

// Shows the desktop icons and both taskbars, whatever the settings say. Runs at every normal
// end of the process (teardown of the process-wide objects) and from the crash filter.
void RestoreDesktop();
