// The notification-area icon: the program's way back to its dialog. It shows the dialog's
// small icon, grey while the program is disabled, and a thread of its own puts it back when
// the shell lost it (a restarted Explorer forgets every icon).
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <atomic>
#include <cstdint>
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
// now rather than at the thread's next look.
void RestoreTrayIconForNewTaskbar();

// Removes the icon and stops the icon thread. Does nothing when there is no icon. Safe on any
// thread, also on the icon thread itself, and more than once.
void RemoveTrayIcon();

// The record every Shell_NotifyIconW call gets: the callback message always set, the tip cut
// to kTrayTipLength characters (empty without one).
NOTIFYICONDATAW MakeNotifyRecord(HWND owner, UINT iconId, UINT flags, HICON icon, const wchar_t* tip);

// Grey levels of 32-bit pixels as GDI hands them out (0xAARRGGBB): each colour becomes
// 0.587 G + 0.114 B + 0.299 R, truncated; pure black and the alpha byte stay as they are.
void GreyPixels(uint32_t* pixels, size_t count);

// A grey copy of `icon` with the same mask, or null. The caller keeps `icon`.
HICON MakeGreyIcon(HICON icon);

// What the icon needs from the system; tests put a scripted shell in its place.
class TrayShell {
  public:
    virtual ~TrayShell() = default;
    // Shell_NotifyIconW.
    virtual bool Notify(DWORD message, NOTIFYICONDATAW* record) = 0;
    // The picture: `source`'s small icon, else resource `iconId` at the large icon size; grey
    // when asked. A new handle for the caller, or null.
    virtual HICON BuildIcon(HWND source, UINT iconId, bool grey) = 0;
};

TrayShell& SystemTrayShell();

// One notification icon and the thread that keeps it present.
//
// The thread is stopped by an event, never killed: a thread killed inside the heap, the
// loader or a send to the GUI thread can leave a lock held that the ending program then
// needs. Removal and the thread's re-add are serialised, so an icon the thread builds while
// removal runs is thrown away instead of added, and two refreshes never add twice.
class TrayIcon {
  public:
    explicit TrayIcon(TrayShell& shell, DWORD periodMs = kIconThreadPeriodMs) : shell_(shell), periodMs_(periodMs) {}
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    void SetOwnerWindow(HWND window) { ownerWindow_ = window; }
    void SetIconSourceWindow(HWND window) { iconSourceWindow_ = window; }
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
    bool ThreadRunning() const { return thread_ != nullptr; }

  private:
    static DWORD WINAPI IconThread(void* self);
    // Builds the picture, then adds the icon or (unless `onlyWhenLost`) modifies it.
    void Update(bool onlyWhenLost);
    bool Notify(DWORD message, UINT flags, ScopedIcon icon, const wchar_t* tip);
    bool StopThread();

    TrayShell& shell_;
    const DWORD periodMs_;
    HWND ownerWindow_ = nullptr;
    HWND iconSourceWindow_ = nullptr;
    std::atomic<bool> disabledLook_ = false;
    UINT iconId_ = 0;
    wchar_t tip_[1024] = L"";
    // One add, modify or delete at a time; guards `shown_` and the thread's handles. Recursive
    // and timed because removal also runs from the crash filter, on whichever thread crashed.
    std::recursive_timed_mutex shellLock_;
    bool shown_ = false;  // between Create and Remove
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
    HANDLE stopEvent_ = nullptr;  // set: the thread ends; lives as long as the object
    // A thread that did not stop in time: it still uses this object, whose end waits for it
    // once more.
    HANDLE abandonedThread_ = nullptr;
    bool threadAbandoned_ = false;
};
