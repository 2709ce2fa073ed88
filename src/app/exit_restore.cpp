#include "app/exit_restore.h"

#include "desktop/desktop_restore.h"
#include "tray/tray_icon.h"

void RestoreAtExit() {
    RemoveTrayIcon();
    RestoreDesktop();
}
