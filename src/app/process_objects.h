// The values the application shell keeps for the life of the process.
#pragma once
#include <windows.h>

extern HWND mainWindow;
extern int startInBackground;  // 1 with "-bg": the settings dialog starts hidden
extern int exitRequest;        // kExitRequestMarker with "exit"
extern UINT instanceMessage;   // registered under the product name at start-up
extern wchar_t mainTitle[256];
extern wchar_t mainClassName[256];

inline constexpr int kExitRequestMarker = 45054;  // 0xAFFE, also a second instance's exit code
inline constexpr int kSecondInstanceExitCode = 45054;
