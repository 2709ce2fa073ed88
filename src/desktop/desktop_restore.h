// Bringing the desktop back whatever the settings say: the icons and the taskbars shown.
#pragma once

enum class ShellWait { kNone, kUntilShown };

// Shows the desktop icons and the taskbars (ShowTaskbars: every one the program hid), and with
// kUntilShown waits a moment for a busy shell to have shown them. Runs at every end of the
// program, normal or not.
void RestoreDesktop(ShellWait wait);

// Shows the list view and the taskbars that an earlier run hid and could not show again (it
// was killed). Windows hidden by anyone else stay as they are.
void ShowWindowsHiddenByEarlierRun();
