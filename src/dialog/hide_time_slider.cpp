#include "dialog/hide_time_slider.h"

#include <commctrl.h>

#include "desktop/auto_hide_engine.h"
#include "dialog/hide_time.h"
#include "resource_ids.h"
#include "settings/settings.h"
#include "settings/settings_table.h"

namespace {

void ShowHideTime(HWND dialog, int seconds) {
    SetDlgItemTextW(dialog, IDC_HIDE_TIME_TEXT, FormatHideTime(seconds).c_str());
}

// The bar's range is a 16-bit field: a longer idle time than 65535 s is cut to its low bits.
void SetCountdownRange(HWND dialog, int seconds) {
    SendDlgItemMessageW(dialog, IDC_COUNTDOWN, PBM_SETRANGE, 0, MAKELPARAM(0, seconds));
}

}  // namespace

void SetUpHideTimeControls(HWND dialog) {
    SendDlgItemMessageW(dialog, IDC_HIDE_TIME_SLIDER, TBM_SETRANGEMIN, FALSE, kHideTimeFirstPosition);
    SendDlgItemMessageW(dialog, IDC_HIDE_TIME_SLIDER, TBM_SETRANGEMAX, FALSE, kHideTimeLastPosition);
    LoadSettings(SettingRead::kDialogSlider);
    int seconds = settings.auto_hide_icons_sec;
    SetCountdownRange(dialog, seconds);
    SendDlgItemMessageW(dialog, IDC_COUNTDOWN, PBM_SETPOS, seconds, 0);
    SendDlgItemMessageW(dialog, IDC_HIDE_TIME_SLIDER, TBM_SETPOS, TRUE, SecondsToPosition(seconds));
    ShowHideTime(dialog, seconds);
}

void OnHideTimeScroll(HWND dialog) {
    int position = static_cast<int>(SendDlgItemMessageW(dialog, IDC_HIDE_TIME_SLIDER, TBM_GETPOS, 0, 0));
    int seconds = PositionToSeconds(position);
    ShowHideTime(dialog, seconds);
    // Dragging passes many positions: save once per distinct value, and leave the countdown
    // alone when the value comes back to where it was.
    if (seconds == settings.auto_hide_icons_sec) {
        return;
    }
    SaveSetting(&Settings::auto_hide_icons_sec, seconds);
    RestartIdleTime();
    SetCountdownRange(dialog, seconds);
}
