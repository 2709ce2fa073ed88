#include "app/process_objects.h"

#include "desktop/desktop_windows.h"
#include "desktop/taskbar.h"

HINSTANCE instanceHandle = nullptr;
HWND mainWindow = nullptr;
HWND settingsDialog = nullptr;
int startInBackground = 0;
int exitRequest = 0;
wchar_t mainTitle[256] = L"";
wchar_t mainClassName[256] = L"";
HMODULE userModule = nullptr;

void RestoreDesktop() {
    SetIconsVisible(true);
    ShowTaskbars();
}

namespace {

// Constructed first and so torn down last: whichever way the process ends normally, the
// icons and taskbars come back after everything else has been taken down.
struct DesktopRestorer {
    DesktopRestorer() = default;
    DesktopRestorer(const DesktopRestorer&) = delete;
    DesktopRestorer& operator=(const DesktopRestorer&) = delete;
    ~DesktopRestorer() { RestoreDesktop(); }
};

DesktopRestorer desktopRestorer;

}  // namespace

UINT instanceMessage = RegisterWindowMessageW(productName);
