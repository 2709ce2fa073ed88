// Drives the desktop stand-in (tools/desktop_standin), which plays Explorer's desktop windows
// under Wine: starts it in a layout and waits until its windows are up, changes the layout
// and the secondary taskbars or restarts it at run time, finds its windows the way Velmora
// does, and knows where its icons and its empty desktop are.
#pragma once
#include <windows.h>

#include <vector>

#include "desktop_standin/standin_protocol.h"
#include "e2e/support/e2e_support.h"

namespace e2e {

using standin::Layout;

// Where things are on the stand-in's desktop, in screen coordinates (1280x800).
using standin::kDefaultSecondaryTaskbarRects;
using standin::kEmptyDesktopPoint;
using standin::kEmptyDesktopRect;
using standin::kIconAreaRight;
using standin::kIconColumnStep;
using standin::kIconCount;
using standin::kIconLeft;
using standin::kIconRowStep;
using standin::kIconSize;
using standin::kIconsPerColumn;
using standin::kIconTop;
using standin::kMaxSecondaryTaskbars;

constexpr DWORD kStandinReadyTimeoutMs = 20000;
constexpr WPARAM kToggleDesktopIconsCommand = 0x7402;  // WM_COMMAND to the desktop view

// With VELMORA_STANDIN_LAYOUT=24h2 in the environment (ctest's e2e_Layout24H2 sets it), every
// request for the Program Manager layout gets Windows 11 24H2's instead: the same desktop view
// under "Program Manager", with the wallpaper's "WorkerW" beside it. Other layouts stay.
Layout EffectiveLayout(Layout requested);

struct StandinOptions {
    Layout layout = Layout::kProgman;
    int secondaryTaskbars = 0;
    bool shellHideIcons = false;  // the HideIcons setting the stand-in finds at start
};

class DesktopStandin {
  public:
    DesktopStandin() = default;
    ~DesktopStandin() { Stop(); }
    DesktopStandin(const DesktopStandin&) = delete;
    DesktopStandin& operator=(const DesktopStandin&) = delete;

    // Ends any stand-in already running, sets HideIcons, starts a new one and waits until
    // its windows are up and its icons placed.
    bool Start(const StandinOptions& options = {});
    // Asks the stand-in to quit and waits for its process (killing it after the deadline),
    // then sets HideIcons back to 0 so that the next test starts clean.
    void Stop();
    bool Running() const { return process_.Running(); }
    // How the last stand-in ended: 0 when it quit as asked, -1 when it had to be killed.
    long long LastExitCode() const { return lastExitCode_; }
    DWORD ProcessId() const { return process_.Id(); }

    // Destroys every shell window and creates them anew (new handles), as a restarting
    // Explorer does; for `gapMs` in between there are none. Restart waits for the new ones.
    bool Restart(DWORD gapMs = 0);
    bool BeginRestart(DWORD gapMs);
    // Waits until the stand-in reports windows newer than the ones seen last.
    bool WaitUntilReady(DWORD timeoutMs = kStandinReadyTimeoutMs);
    // Rebuilds the shell windows in `layout` and waits for them.
    bool SetLayout(Layout layout);
    // 0..kMaxSecondaryTaskbars strips of class "Shell_SecondaryTrayWnd", at the default
    // rectangles unless moved; a moved strip keeps its rectangle across restarts.
    bool SetSecondaryTaskbars(int count);
    bool SetSecondaryTaskbarRect(int index, const RECT& rect);
    // The stand-in's windows stop answering for `ms`, as a hung Explorer's do.
    bool Hang(DWORD ms);
    // Ends a hang before its time, as a shell that recovers.
    void EndHang() const;
    // Whether the stand-in's windows answer within `ms` (false while it hangs).
    bool Answers(DWORD ms) const;

    // The shell's windows, looked up afresh each time as Velmora does.
    static HWND Progman();
    static HWND DefView();  // under "Program Manager", else under the first "WorkerW" with one
    static HWND ListView();
    static std::vector<HWND> Workers();            // top-level "WorkerW" windows in z-order
    static std::vector<HWND> SecondaryTaskbars();  // in z-order
    static bool IconsVisible();

    static POINT EmptyDesktopPoint() { return kEmptyDesktopPoint; }
    // The centre of icon `index` (0..kIconCount-1).
    static POINT IconPoint(int index) { return standin::IconCentre(index); }

    // The shell's setting as SHGetSettings(SSF_HIDEICONS) reports it, and written directly.
    static bool ShellHideIconsSetting();
    static void SetShellHideIconsSetting(bool hide);

  private:
    HWND Control() const;
    // The control window's answer, or 0 when there is none.
    LRESULT Send(UINT message, WPARAM wParam) const;

    Process process_;
    LRESULT generation_ = 0;  // of the windows seen last
    long long lastExitCode_ = -1;
};

}  // namespace e2e
