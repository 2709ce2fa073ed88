// Bringing the desktop back whatever the settings say: the icons and both taskbars shown.
#pragma once

// Shows the desktop icons and both taskbars. Runs at every end of the program, normal or not.
void RestoreDesktop();

// Shows the list view and the taskbars that an earlier run hid and could not show again (it
// was killed). Windows hidden by anyone else stay as they are.
void ShowWindowsHiddenByEarlierRun();
