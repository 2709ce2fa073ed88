// One running instance, and the messages between instances over instanceMessage.
#pragma once
#include <windows.h>

// Creates the mutex (kept open for the life of the process). A second instance announces
// itself to every top-level window, so the running one shows its dialog, keeps its own dialog
// hidden and posts the quit message with 45054. Returns true for the first instance.
bool ClaimSingleInstance();

// The "exit" word: asks every running instance to end. Visits every top-level window.
void BroadcastExitRequest();

// What a second instance does to reach the running one; tests record the calls.
class InstanceAnnouncement {
  public:
    virtual ~InstanceAnnouncement() = default;
    // The running instances' main windows, one after another: the first after null, null
    // after the last.
    virtual HWND NextInstanceWindow(HWND after) = 0;
    virtual DWORD ProcessOf(HWND window) = 0;
    // AllowSetForegroundWindow.
    virtual void AllowForeground(DWORD processId) = 0;
    // instanceMessage to every top-level window.
    virtual void Announce() = 0;
};

// Windows lets a process bring its window to the front only with the consent of the process
// the user is working in: this one, just started by the user. The running instance gets it
// before it hears of the start, so its dialog comes to the front instead of flashing.
void AnnounceSecondStart(InstanceAnnouncement& calls);
