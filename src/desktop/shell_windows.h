// The shell's windows as Explorer names them, and the two that make the desktop: what every
// lookup of them returns. The names are written here only.
#pragma once
#include <windows.h>

inline constexpr wchar_t kProgramManagerTitle[] = L"Program Manager";
inline constexpr wchar_t kProgramManagerClass[] = L"Progman";
inline constexpr wchar_t kWorkerClass[] = L"WorkerW";
inline constexpr wchar_t kDesktopViewClass[] = L"SHELLDLL_DefView";
inline constexpr wchar_t kDesktopIconsClass[] = L"SysListView32";
inline constexpr wchar_t kPrimaryTaskbarClass[] = L"Shell_TrayWnd";
inline constexpr wchar_t kSecondaryTaskbarClass[] = L"Shell_SecondaryTrayWnd";
inline constexpr wchar_t kNotificationAreaClass[] = L"TrayNotifyWnd";

struct DesktopWindows {
    HWND listView = nullptr;  // "SysListView32": the icons
    HWND defView = nullptr;   // "SHELLDLL_DefView": the empty desktop, the list view's parent
};
