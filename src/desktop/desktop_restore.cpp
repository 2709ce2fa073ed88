#include "desktop/desktop_restore.h"

#include "desktop/desktop_windows.h"
#include "desktop/taskbar.h"

void RestoreDesktop() {
    SetIconsVisible(true);
    ShowTaskbars();
}
