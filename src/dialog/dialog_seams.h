// Where the settings dialog hands over to subsystems that are built separately: the menu bar
// and its images, dark mode, the header scaling, the tray icon, the language menu and the
// program menu. Until they exist these do nothing, or the plain fall-back noted here.
#pragma once
#include <windows.h>

// Creates the menu bar under the header line (`top`, client coordinates) of the dialog.
void CreateMenuBarSeam(HWND dialog, int top);

// Registers the shell icons drawn beside the program menu's commands.
void RegisterCommandImagesSeam();

// Rebuilds the program menu and the menu bar's right-hand buttons in the current language.
void UpdateMenuBarSeam();

// Whether the program's windows are drawn dark. Never, for now.
bool IsDarkModeActiveSeam();

// Draws a control in the classic style (older systems only).
void ApplyClassicThemeSeam(HWND control);

// A copy of `source` scaled to width x height, or null when scaling is not available.
HBITMAP ScaleBitmapSeam(HBITMAP source, int width, int height);

// Icon `id` of shell32 (shared, not to be destroyed); null when shell32 is not loaded.
HICON LoadShellIconSeam(int id);

// The tray icon follows m_disable: grey while the program is disabled.
void RefreshTrayIconSeam(int disabledLook);

// The animation towards the notification area that goes before hiding the dialog.
void MinimiseToTraySeam();

// The language popup under the menu bar's "# LNG" button.
void ShowLanguageMenuSeam(HWND dialog);

// The commands of the program menu and the link bar's notice: web pages, FAQ, uninstall,
// recommendation and packing.
void RunProgramMenuCommandSeam(UINT command);
