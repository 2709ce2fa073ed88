#include "desktop/icon_visibility.h"

#include "desktop/colour_window.h"
#include "desktop/shell_window_visibility.h"

void ApplyIconsVisible(HWND listView, bool show) {
    if (show) {
        ShowShellWindow(listView);
    } else if (HidingStopped()) {
        return;  // and no colour over icons that stay
    } else {
        HideShellWindow(listView);
    }
    UpdateColourWindow(show, GetParent(listView));
}
