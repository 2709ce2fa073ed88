// Hiding and showing the taskbars ("Shell_TrayWnd" and the first "Shell_SecondaryTrayWnd"),
// each looked up at every use; a missing one is skipped.
#pragma once

void ShowTaskbars();
void HideTaskbars();

// Icons plus, with hide_taskbar on, the taskbars.
void ShowEverything();
void HideEverything();
