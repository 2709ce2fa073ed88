// The desktop stand-in: plays the Explorer shell's desktop windows (which Wine does not have)
// so that Velmora can be tested and shown under Wine. Options: see standin_options.h; tests
// drive it at run time through its control window (standin_protocol.h).
#include <windows.h>
#include <commctrl.h>

#include "control_window.h"
#include "secondary_taskbars.h"
#include "shell_windows.h"
#include "standin_options.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
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
