#include "app/process_objects.h"

#include "common/program.h"

HWND mainWindow = nullptr;
int startInBackground = 0;
int exitRequest = 0;
wchar_t mainTitle[256] = L"";
wchar_t mainClassName[256] = L"";
UINT instanceMessage = 0;
