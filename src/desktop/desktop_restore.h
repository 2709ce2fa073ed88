// Bringing the desktop back whatever the settings say: the icons and both taskbars shown.
#pragma once

// Shows the desktop icons and both taskbars. Runs at every end of the program, normal or not.
void RestoreDesktop();
