#include "app/startup.h"

#include <commctrl.h>

#include "app/command_line.h"
#include "app/main_window.h"
#include "app/process_objects.h"
#include "app/single_instance.h"
#include "appearance/dark_mode.h"
#include "appearance/dark_mode_hook.h"
#include "common/foreign_messages.h"
#include "common/program.h"
#include "common/startup_trace.h"
#include "common/system_library.h"
#include "desktop/desktop_restore.h"
#include "dialog/dialog_commands.h"
#include "dialog/exit_restore.h"
#include "dialog/settings_dialog.h"
#include "lang/default_language.h"
#include "lang/language_pack.h"
#include "settings/ini_store.h"
#include "settings/settings.h"
#include "settings/settings_table.h"
#include "resource_ids.h"

namespace {

// Looked up at run time: the call is absent before Vista. Its answer is of no use: where a
// manifest or the "Override high DPI scaling" setting chose the awareness before the program
// ran, Windows refuses it.
void MakeProcessDpiAware() {
    using SetProcessDpiAwareFn = BOOL(WINAPI*)();
    if (auto setDpiAware = UserFunction<SetProcessDpiAwareFn>("SetProcessDPIAware")) {
        setDpiAware();
    }
}

void InitialiseCommonControls() {
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_COOL_CLASSES;  // 0x5FF
    InitCommonControlsEx(&controls);
    InitCommonControls();
}

// A crash on any thread must not leave the user without icons or taskbar; the GUI thread
// may still be ticking, so hiding stops before anything is shown.
LONG WINAPI RestoreDesktopOnCrash(EXCEPTION_POINTERS*) {
    RestoreAtExit();
    return EXCEPTION_CONTINUE_SEARCH;
}

int RunMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // A notification here was posted, so it came from outside: the program's own
        // controls send theirs.
        if (IsForbiddenPostedMessage(message)) {
            continue;
        }
        // The engine's timers come about 40 times a second for the life of the program: they go
        // to the dialog's timer handler directly, not through IsDialogMessage and the dialog's
        // subclass chain, which do nothing with them (under Wine each layer of that chain asks
        // the server for its window property). In a menu or message box the dialog's own
        // procedure takes them as before.
        if (message.message == WM_TIMER && message.hwnd == settingsDialog && message.hwnd != nullptr) {
            OnDialogTimer(settingsDialog);
            continue;
        }
        if (settingsDialog != nullptr && IsDialogMessageW(settingsDialog, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

HHOOK StartDarkMode(HINSTANCE instance, const DarkModeApi& api) {
    InitDarkModeWith(api, settings.disable_dark_theme);
    return settings.disable_dark_theme == 0 ? InstallDarkModeHook(instance) : nullptr;
}

int RunVelmora(HINSTANCE instance, const wchar_t* commandLine) {
    MarkStartup("wWinMain");
    // Before anything can load a DLL by name: the exe's folder may hold one of the same name.
    RestrictDllSearchToSystem();
    // Not before: the first call into the window manager makes this a GUI thread, and Wine's
    // user32 then loads UxTheme by name.
    instanceMessage = RegisterWindowMessageW(productName);
    ScopedExitRestore restoreAtEnd;
    SetUnhandledExceptionFilter(RestoreDesktopOnCrash);
    MakeProcessDpiAware();
    InitialiseCommonControls();

    CommandLineWords words = ParseCommandLineWords(commandLine);
    startInBackground = words.startInBackground;
    exitRequest = words.exitRequest;

    LoadStringW(instance, IDS_MAIN_CLASS, mainTitle, 255);
    LoadStringW(instance, IDS_MAIN_CLASS, mainClassName, 255);
    RegisterMainWindowClass();
    // Scripts and uninstallers send "exit": it needs no settings file, so no warning box may
    // hold it up.
    LocateSettingsFile(exitRequest != kExitRequestMarker);
    SelectDefaultLanguage();
    if (LoadLanguagePack() == 0) {
        return 1;
    }
    MarkStartup("language pack");

    if (exitRequest == kExitRequestMarker) {
        BroadcastExitRequest();
        return 1;
    }

    LoadSettings(SettingRead::kStartUp);
    MakeProcessDpiAware();  // asked again, as it always was; dark mode does not hang on the answer
    StartDarkMode(instance, LoadDarkModeApi());
    MarkStartup("dark mode");

    if (ClaimSingleInstance()) {
        ShowWindowsHiddenByEarlierRun();
    }
    MarkStartup("single instance");
    // Without its window nothing reaches the program, not even another instance's request to
    // end: it would only sit unseen in the message loop.
    if (CreateMainWindow() == nullptr) {
        return 1;
    }
    MarkStartup("main window");
    return RunMessageLoop();
}
