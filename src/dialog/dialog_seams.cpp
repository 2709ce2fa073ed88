#include "dialog/dialog_seams.h"

void CreateMenuBarSeam(HWND, int) {}

void RegisterCommandImagesSeam() {}

void UpdateMenuBarSeam() {}

bool IsDarkModeActiveSeam() {
    return false;
}

void ApplyClassicThemeSeam(HWND) {}

HBITMAP ScaleBitmapSeam(HBITMAP, int, int) {
    return nullptr;
}

HICON LoadShellIconSeam(int id) {
    // shell32 is loaded with the common controls; its module handle never changes.
    static HMODULE shell = GetModuleHandleW(L"shell32");
    return shell != nullptr ? LoadIconW(shell, MAKEINTRESOURCEW(id)) : nullptr;
}

void RefreshTrayIconSeam(int) {}

void MinimiseToTraySeam() {}

void ShowLanguageMenuSeam(HWND) {}

void RunProgramMenuCommandSeam(UINT) {}
