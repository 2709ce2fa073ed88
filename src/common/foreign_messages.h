// Notifications (WM_NOTIFY) carry a pointer into the receiver's memory, and only the program's
// own controls hand them over, by a send on the program's own thread. Any process may post a
// WM_NOTIFY to any of the program's windows, though, with any lParam: the system forwards a
// posted one as it is (the other messages with a pointer, WM_DRAWITEM, WM_COPYDATA and the
// like, cannot be posted at all, and a send of them from outside is marshalled). Taken as it
// comes, a stray notification crashes the program or makes it write where another process
// chose. So a posted one is dropped before any window sees it, and the handlers act only on
// one that passes TrustedNotification.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstddef>

// True for a message taken from the thread's queue that must be dropped unseen: a posted
// WM_NOTIFY. The program's message loop asks this.
bool IsForbiddenPostedMessage(const MSG& message);

// The header of a WM_NOTIFY that `receiver` may act on, or null: `size` bytes at lParam that
// are committed, writable memory of this process, from a window of this thread that belongs
// to the receiver's top-level window: a child of it, or a pop-up (a tool tip) owned by it or
// by one of its children. Catches as well a notification posted while a message loop that is
// not the program's own (a menu's, a message box's) runs, and one sent from another process.
//
// Whether the message itself was sent from another thread is not asked: InSendMessage also
// answers yes for a notice that the program's own control sends while the program handles a
// message from another thread (a tray click, a system broadcast), and such a notice is genuine.
NMHDR* TrustedNotification(HWND receiver, LPARAM lParam, size_t size = sizeof(NMHDR));

// A WM_NOTIFY that TrustedNotification refuses: a replacement window procedure drops it, since
// the procedure it replaced would read it too.
bool IsForeignNotification(HWND receiver, UINT message, LPARAM lParam);
