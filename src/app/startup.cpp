#include "app/startup.h"

#include <commctrl.h>

#include "app/command_line.h"
#include "app/interface_seams.h"
#include "app/main_window.h"
#include "app/process_objects.h"
#include "app/single_instance.h"
#include "lang/language_pack.h"
#include "settings/ini_store.h"
#include "settings/settings.h"

namespace {

using SetProcessDpiAwareFn = BOOL(WINAPI*)();

// Looked up at run time: the call is absent before Vista. The result tells start-up whether
// the platform is new enough for dark mode.
bool MakeProcessDpiAware() {
    if (userModule == nullptr) {
        userModule = LoadLibraryW(L"user32.dll");
    }
    if (userModule == nullptr) {
        return false;
    }
    auto setDpiAware = reinterpret_cast<SetProcessDpiAwareFn>(
        reinterpret_cast<void*>(GetProcAddress(userModule, "SetProcessDPIAware")));
    return setDpiAware != nullptr && setDpiAware() != 0;
}

void InitialiseCommonControls() {
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = 0x5FF;
    InitCommonControlsEx(&controls);
    InitCommonControls();
}

// A crash must not leave the user without icons or taskbar.
LONG WINAPI RestoreDesktopOnCrash(EXCEPTION_POINTERS*) {
    RestoreDesktop();
    return EXCEPTION_CONTINUE_SEARCH;
}

int RunMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        HWND dialog = SettingsDialogWindow();
        if (dialog != nullptr && IsDialogMessageW(dialog, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int RunVelmora(HINSTANCE instance, const wchar_t* commandLine) {
    SetUnhandledExceptionFilter(RestoreDesktopOnCrash);
    MakeProcessDpiAware();
    instanceHandle = instance;
    InitialiseCommonControls();

    CommandLineWords words = ParseCommandLineWords(commandLine);
    startInBackground = words.startInBackground;
    exitRequest = words.exitRequest;

    LoadStringW(instanceHandle, 103, mainTitle, 255);
    LoadStringW(instanceHandle, 103, mainClassName, 255);
    RegisterMainWindowClass();
    LocateSettingsFile();
    SelectDefaultLanguage();
    if (LoadLanguagePack() == 0) {
        return 1;
    }

    if (exitRequest == kExitRequestMarker) {
        BroadcastExitRequest();
        return 1;
    }

    settings.disable_dark_theme = ReadIntSetting(L"disable_dark_theme", settings.disable_dark_theme);
    settings.soft_paint = ReadIntSetting(L"soft_paint", settings.soft_paint);
    MakeProcessDpiAware();
    // Dark mode starts here when the DPI call succeeded.

    ClaimSingleInstance();
    CreateMainWindow();
    return RunMessageLoop();
}
