#include "tray/minimise_animation.h"

#include <shellapi.h>

#include "desktop/shell_windows.h"

namespace {

constexpr int kTaskbarPieceFromEnd = 100;  // the piece spans end-100 .. end-16: 84 pixels
constexpr int kTaskbarPieceEndGap = 16;
constexpr int kCornerWidth = 150;
constexpr int kCornerHeight = 30;

class SystemPlaces : public TrayPlaces {
  public:
    bool NotificationArea(RECT* rect) override {
        HWND taskbar = FindWindowExW(nullptr, nullptr, kPrimaryTaskbarClass, nullptr);
        HWND area = taskbar != nullptr ? FindWindowExW(taskbar, nullptr, kNotificationAreaClass, nullptr) : nullptr;
        return area != nullptr && GetWindowRect(area, rect) != 0;
    }
    bool TaskbarPosition(UINT* edge, RECT* rect) override {
        APPBARDATA data = {};
        data.cbSize = sizeof(data);
        if (SHAppBarMessage(ABM_GETTASKBARPOS, &data) == 0) {
            return false;
        }
        *edge = data.uEdge;
        *rect = data.rc;
        return true;
    }
    bool TaskbarWindow(RECT* rect) override {
        HWND taskbar = FindWindowExW(nullptr, nullptr, kPrimaryTaskbarClass, nullptr);
        return taskbar != nullptr && GetWindowRect(taskbar, rect) != 0;
    }
    RECT WorkArea() override {
        RECT area = {};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
        return area;
    }
};

// At most kCornerWidth x kCornerHeight in the bottom-right corner of `rect`.
RECT BottomRightCorner(RECT rect) {
    if (rect.right - rect.left > kCornerWidth) {
        rect.left = rect.right - kCornerWidth;
    }
    if (rect.bottom - rect.top > kCornerHeight) {
        rect.top = rect.bottom - kCornerHeight;
    }
    return rect;
}

}  // namespace

bool AnimationsEnabled() {
    ANIMATIONINFO info = {};
    info.cbSize = sizeof(info);
    return SystemParametersInfoW(SPI_GETANIMATION, sizeof(info), &info, 0) != 0 && info.iMinAnimate != 0;
}

RECT GetTrayTargetRect(TrayPlaces& places) {
    RECT rect = {};
    if (places.NotificationArea(&rect)) {
        return rect;
    }
    UINT edge = 0;
    if (places.TaskbarPosition(&edge, &rect)) {
        if (edge == ABE_LEFT || edge == ABE_RIGHT) {
            return {rect.left, rect.bottom - kTaskbarPieceFromEnd, rect.right, rect.bottom - kTaskbarPieceEndGap};
        }
        return {rect.right - kTaskbarPieceFromEnd, rect.top, rect.right - kTaskbarPieceEndGap, rect.bottom};
    }
    if (places.TaskbarWindow(&rect)) {
        return BottomRightCorner(rect);
    }
    RECT area = places.WorkArea();
    // The work area always gets the full corner, whatever its size.
    return {area.right - kCornerWidth, area.bottom - kCornerHeight, area.right, area.bottom};
}

RECT GetTrayTargetRect() {
    SystemPlaces places;
    return GetTrayTargetRect(places);
}

void AnimateToTrayAndHide(HWND window, bool animate) {
    if (animate && AnimationsEnabled()) {
        RECT from = {};
        GetWindowRect(window, &from);
        RECT to = GetTrayTargetRect();
        DrawAnimatedRects(window, IDANI_CAPTION, &from, &to);
    }
    ShowWindow(window, SW_HIDE);
}

void MinimiseToTray(HWND window) {
    AnimateToTrayAndHide(window, true);
}
