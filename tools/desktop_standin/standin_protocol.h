// What the desktop stand-in and its test client agree on: the control window and its
// messages, the layouts, and where the stand-in puts its icons and secondary taskbars on the
// 1280x800 virtual desktop the tests run in.
#pragma once
#include <windows.h>

namespace standin {

// Hidden top-level window that appears once the shell windows are up and the icons placed.
inline constexpr wchar_t kControlClass[] = L"VelmoraStandinControl";

// Private messages to the control window. All parameters are plain numbers, so they cross
// process boundaries without marshalling. Each answers 1 when accepted and 0 when refused,
// except kQueryReadyMessage.
constexpr UINT kQueryReadyMessage = 0x8001;       // WM_APP + 1: the generation (1, 2, ...) when ready, else 0
constexpr UINT kSetLayoutMessage = 0x8002;        // WM_APP + 2: wParam a Layout; rebuilds the shell windows
constexpr UINT kSetTaskbarCountMessage = 0x8003;  // WM_APP + 3: wParam 0..kMaxSecondaryTaskbars
constexpr UINT kRestartMessage = 0x8004;          // WM_APP + 4: wParam ms without shell windows (0..kMaxRestartGapMs)
constexpr UINT kQuitMessage = 0x8005;             // WM_APP + 5
// WM_APP + 6: wParam ms (1..kMaxHangMs) during which the stand-in's windows answer nothing, as
// a hung Explorer's: the answer comes first, then its one thread sleeps. Whatever is sent or
// posted to its windows meanwhile is handled afterwards, in order. The hang ends early when
// the auto-reset event named kHangEndEventPrefix and the stand-in's process id is set.
constexpr UINT kHangMessage = 0x8006;
constexpr wchar_t kHangEndEventPrefix[] = L"VelmoraStandinHangEnd";

// WM_COPYDATA with this dwData and a TaskbarRectRequest moves a secondary taskbar (and keeps
// the rectangle for later restarts).
constexpr ULONG_PTR kSetTaskbarRectData = 0x56540001;
struct TaskbarRectRequest {
    int index;
    RECT rect;
};

enum class Layout : int {
    kProgman = 0,  // "Program Manager" > "SHELLDLL_DefView" > "SysListView32"
    kWorkerW = 1,  // "Program Manager" empty; an empty "WorkerW" first, then one holding the view
    // Windows 11 24H2: "Program Manager" > "SHELLDLL_DefView" > "SysListView32", and after the
    // view (below it among the children of "Program Manager") a "WorkerW" with the wallpaper.
    kProgman24H2 = 2,
};

constexpr bool IsLayout(WPARAM value) {
    return value == static_cast<WPARAM>(Layout::kProgman) || value == static_cast<WPARAM>(Layout::kWorkerW) ||
           value == static_cast<WPARAM>(Layout::kProgman24H2);
}

constexpr int kMaxSecondaryTaskbars = 2;
constexpr DWORD kMaxRestartGapMs = 60000;
constexpr DWORD kMaxHangMs = 60000;

// Where things are, in screen coordinates of the 1280x800 virtual desktop.
constexpr int kIconCount = 12;
constexpr int kIconSize = 32;  // SM_CXICON at 96 dpi
constexpr int kIconsPerColumn = 6;
constexpr int kIconLeft = 30;  // left edge of the icon image of the first column
constexpr int kIconTop = 20;   // top edge of the icon image of the first row
constexpr int kIconColumnStep = 100;
constexpr int kIconRowStep = 96;
constexpr int kIconAreaRight = 220;  // every icon and label lies left of this x
// No icon or label ever lies in this part of the desktop (secondary taskbars may cover
// strips of it: they are windows of their own).
constexpr RECT kEmptyDesktopRect = {400, 0, 1280, 700};
// A point of the empty desktop clear of the default secondary taskbars and of Wine's taskbar.
// A context menu opened here has room to open its submenus, and theirs, to the right.
constexpr POINT kEmptyDesktopPoint = {480, 360};
constexpr RECT kDefaultSecondaryTaskbarRects[kMaxSecondaryTaskbars] = {
    {400, 0, 1280, 40},
    {400, 700, 1280, 740},
};

// Icons fill the first column top to bottom, then the second.
constexpr POINT IconTopLeft(int index) {
    return POINT{kIconLeft + (index / kIconsPerColumn) * kIconColumnStep,
                 kIconTop + (index % kIconsPerColumn) * kIconRowStep};
}

constexpr POINT IconCentre(int index) {
    POINT p = IconTopLeft(index);
    return POINT{p.x + kIconSize / 2, p.y + kIconSize / 2};
}

}  // namespace standin
