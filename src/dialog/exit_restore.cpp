#include "dialog/exit_restore.h"

#include <windows.h>

#include "desktop/desktop_restore.h"
#include "desktop/shell_window_visibility.h"
#include "tray/tray_icon.h"

namespace {

void Restore(ShellWait wait) {
    StopHidingForGood();
    RemoveTrayIcon();
    RestoreDesktop(wait);
}

}  // namespace

void RestoreAtExit() {
    Restore(ShellWait::kUntilShown);
}

// The answer to another instance and the dialog's Exit do not wait for a hung shell; the run's
// end, a moment later, waits once. That restore is needed all the same: messages posted before
// the quit (the interface's creation, a new taskbar's) may bring the tray icon back meanwhile.
void EndProgram(int exitCode) {
    Restore(ShellWait::kNone);
    PostQuitMessage(exitCode);
}
