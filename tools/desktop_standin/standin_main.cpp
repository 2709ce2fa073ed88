// The desktop stand-in: plays the Explorer shell's desktop windows (which Wine does not have)
// so that Velmora can be tested and shown under Wine. Options: see standin_options.h; tests
// drive it at run time through its control window (standin_protocol.h).
#include <windows.h>

#include <cwchar>
#include <commctrl.h>

#include "control_window.h"
#include "secondary_taskbars.h"
#include "shell_windows.h"
#include "standin_options.h"

// "--wait-ready": instead of playing the desktop, wait until a running stand-in is ready, so
// scripts can start Velmora after it without guessing a delay. Exit code 0 when ready.
int WaitForRunningStandin() {
    for (int attempt = 0; attempt < 400; ++attempt) {
        if (FindWindowW(standin::kControlClass, nullptr) != nullptr) {
            return 0;
        }
        Sleep(50);
    }
    return 1;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    if (commandLine != nullptr && wcsstr(commandLine, L"--wait-ready") != nullptr) {
        return WaitForRunningStandin();
    }
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    if (!standin::StartShellWindows(instance) || !standin::RegisterSecondaryTaskbarClass(instance) ||
        !standin::RegisterControlClass(instance)) {
        return 1;
    }
    if (!standin::StartSession(standin::ParseStandinOptions(GetCommandLineW()))) {
        standin::EndSession();
        return 1;
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    standin::EndSession();
    return 0;
}
