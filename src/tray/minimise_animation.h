// The settings dialog flying into the notification area before it hides.
#pragma once
#include <windows.h>

// Whether the user lets windows animate when they minimise (SPI_GETANIMATION).
bool AnimationsEnabled();

// Where the notification area is, as far as the shell tells: the rectangle the animation flies
// to, in screen coordinates. Each question may go unanswered; the work area always answers.
struct TrayPlaces {
    virtual ~TrayPlaces() = default;
    // The notification area: "TrayNotifyWnd" under "Shell_TrayWnd".
    virtual bool NotificationArea(RECT* rect) = 0;
    // The taskbar's edge and rectangle as the shell reports them (ABM_GETTASKBARPOS).
    virtual bool TaskbarPosition(UINT* edge, RECT* rect) = 0;
    // The "Shell_TrayWnd" window's rectangle.
    virtual bool TaskbarWindow(RECT* rect) = 0;
    virtual RECT WorkArea() = 0;
};

// The first that applies: the notification area; a piece of the taskbar 84 pixels long,
// 16 pixels before its far end (its bottom end when vertical, its right end when horizontal);
// the taskbar window's bottom-right 150 x 30 pixels (all of a smaller side); the work area's
// bottom-right 150 x 30 pixels.
RECT GetTrayTargetRect(TrayPlaces& places);
RECT GetTrayTargetRect();

// Flies `window`'s outline to the tray when `animate` and the system animates, then hides it.
void AnimateToTrayAndHide(HWND window, bool animate);

// Sends the settings dialog to the tray: the animation starts from the dialog itself, the
// one window of the program the user has seen.
void MinimiseToTray(HWND window);
