#include "app/exit_restore.h"

#include "desktop/desktop_restore.h"
#include "desktop/shell_window_visibility.h"
#include "tray/tray_icon.h"

void RestoreAtExit() {
    StopHidingForGood();
    RemoveTrayIcon();
    RestoreDesktop();
}
