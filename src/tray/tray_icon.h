// The notification-area icon: the program's way back to its dialog. It shows the dialog's
// small icon, grey while the program is disabled, and a thread of its own puts it back when
// the shell lost it (a restarted Explorer forgets every icon).
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <atomic>
#include <mutex>

#include "common/scoped_handle.h"

inline constexpr UINT kTrayCallbackMessage = WM_APP + 100;  // 32868: the icon's mouse messages
inline constexpr UINT kTrayIconId = 107;
inline constexpr DWORD kIconThreadPeriodMs = 5000;
inline constexpr DWORD kIconThreadExitCode = 1092;
// How long removal waits for the icon thread before the program goes on ending without it.
inline constexpr DWORD kIconThreadStopWaitMs = 2000;
inline constexpr int kTrayTipLength = 127;

// Adds the icon for `owner`, which receives its mouse messages as kTrayCallbackMessage. The
// picture is `iconSource`'s small icon, grey with `disabledLook`. Starts the icon thread.
void CreateTrayIcon(HWND owner, HWND iconSource, bool disabledLook);

// Draws the icon again, grey with `disabledLook`; adds it when the shell has none.
void RefreshTrayIcon(bool disabledLook);

// The shell announced a new taskbar ("TaskbarCreated"): it knows no icons, so ours goes back
// now rather than at the thread's next look. Also when the taskbar's DPI changed: the picture
// is made again at its new size.
void RestoreTrayIconForNewTaskbar();

// The user leaves a menu of the icon's that the keyboard opened: the keyboard goes back to the
// notification area, where the user left it (NIM_SETFOCUS).
void ReturnFocusToTrayIcon();

// The icon's rectangle on the screen as the shell gives it (Windows 7 and later); false
// where the shell cannot tell.
bool TrayIconRect(RECT* rect);

// Removes the icon and stops the icon thread. Does nothing when there is no icon. Safe on any
// thread, also on the icon thread itself, and more than once.
void RemoveTrayIcon();

// The record every Shell_NotifyIconW call gets: the callback message always set, the tip cut
// to kTrayTipLength characters (empty without one).
NOTIFYICONDATAW MakeNotifyRecord(HWND owner, UINT iconId, UINT flags, HICON icon, const wchar_t* tip);

// The tray's picture at the small-icon size of `dpi` (the taskbar's): `source`'s small icon
// where it has that size, else icon resource `iconId` of `module` drawn at it; grey when
// asked. A new handle for the caller, or null.
HICON BuildTrayPicture(HMODULE module, HWND source, UINT iconId, bool grey, UINT dpi);

// What the icon needs from the system; tests put a scripted shell in its place.
class TrayShell {
  public:
    virtual ~TrayShell() = default;
    // Shell_NotifyIconW.
    virtual bool Notify(DWORD message, NOTIFYICONDATAW* record) = 0;
    // The picture at the taskbar's DPI (BuildTrayPicture). A new handle for the caller, or null.
    virtual HICON BuildIcon(HWND source, UINT iconId, bool grey) = 0;
    // Shell_NotifyIconGetRect for the icon of (`owner`, `iconId`).
    virtual bool IconRect(HWND owner, UINT iconId, RECT* rect) = 0;
};

TrayShell& SystemTrayShell();

// One notification icon and the thread that keeps it present.
//
// The thread is stopped by an event, never killed: a thread killed inside the heap, the
// loader or a send to the GUI thread can leave a lock held that the ending program then
// needs. Removal and the thread's re-add are serialised, so an icon the thread builds while
// removal runs is thrown away instead of added, and two refreshes never add twice.
//
// Three threads may meet here: the GUI thread, the icon thread, and whichever thread crashed
// (the crash filter removes the icon). Every field that more than one of them touches is
// either atomic or read and written only under `shellLock_`; the rest never change after
// construction.
class TrayIcon {
  public:
    explicit TrayIcon(TrayShell& shell, DWORD periodMs = kIconThreadPeriodMs) : shell_(shell), periodMs_(periodMs) {}
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    void SetOwnerWindow(HWND window) { ownerWindow_.store(window); }
    void SetIconSourceWindow(HWND window) { iconSourceWindow_.store(window); }
    void SetDisabledLook(bool grey) { disabledLook_ = grey; }

    // Adds the icon; with `startThread`, (re)starts the thread that re-adds it when lost.
    void Create(UINT iconId, const wchar_t* tip, bool startThread);
    // Builds the picture and modifies the icon, or adds it when the shell has none. Nothing
    // before Create or after Remove.
    void Refresh();
    // Whether the shell still has the icon (it accepts a modification only of its own icons).
    bool Present();
    // Deletes the icon, then stops the thread and waits for it at most kIconThreadStopWaitMs.
    // Returns false when the thread did not end in that time (the program may end anyway).
    bool Remove();
    bool ThreadRunning() const;
    // NIM_SETFOCUS: the keyboard back to the notification area.
    void ReturnFocus();
    bool Rect(RECT* rect);

  private:
    static DWORD WINAPI IconThread(void* self);
    // Builds the picture, then adds the icon or (unless `onlyWhenLost`) modifies it.
    void Update(bool onlyWhenLost);
    bool Notify(DWORD message, UINT flags, ScopedIcon icon, const wchar_t* tip);
    void AskForKeyboardEvents();
    void ShowTipUnderVersion4();
    bool StopThread();

    TrayShell& shell_;       // never changes
    const DWORD periodMs_;   // never changes
    // Set on the GUI thread, read by the icon thread outside the lock (the picture is built
    // there): atomic.
    std::atomic<HWND> ownerWindow_ = nullptr;
    std::atomic<HWND> iconSourceWindow_ = nullptr;
    std::atomic<bool> disabledLook_ = false;
    std::atomic<UINT> iconId_ = 0;
    // One add, modify or delete at a time. Recursive and timed because removal also runs from
    // the crash filter, on whichever thread crashed.
    mutable std::recursive_timed_mutex shellLock_;
    wchar_t tip_[1024] = L"";  // under the lock
    // The protocol the shell accepted for the icon now shown (0 for the original one). Under
    // the lock.
    UINT protocolVersion_ = 0;
    // Between Create and Remove. Changed under the lock; atomic because removal clears it
    // without the lock when the lock's holder hangs in the shell.
    std::atomic<bool> shown_ = false;
    HANDLE thread_ = nullptr;  // under the lock
    DWORD threadId_ = 0;       // under the lock
    // Set: the thread ends. Made before the first thread starts and kept as long as the object.
    std::atomic<HANDLE> stopEvent_ = nullptr;
    // A thread that did not stop in time: it still uses this object, whose end waits for it
    // once more. Written by whichever thread stopped it.
    std::atomic<HANDLE> abandonedThread_ = nullptr;
    std::atomic<bool> threadAbandoned_ = false;
};
