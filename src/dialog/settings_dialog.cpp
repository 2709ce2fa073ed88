#include "dialog/settings_dialog.h"

#include <ole2.h>

#include "app/process_objects.h"
#include "common/scoped_handle.h"
#include "desktop/auto_hide_engine.h"
#include "desktop/desktop_windows.h"
#include "desktop/taskbar.h"
#include "dialog/dialog_commands.h"
#include "dialog/dialog_controls.h"
#include "dialog/dialog_seams.h"
#include "dialog/dialog_texts.h"
#include "dialog/hide_time_slider.h"
#include "dialog/link_bar.h"
#include "dialog/mouse_options.h"
#include "dialog/os_version.h"
#include "resource_ids.h"
#include "settings/autostart.h"
#include "settings/ini_store.h"
#include "settings/settings.h"

namespace {

class SettingsDialog {
  public:
    INT_PTR HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND LinkBar() const { return linkBar_; }

  private:
    BOOL Initialise(HWND window);

    HWND linkBar_ = nullptr;
};

SettingsDialog theDialog;
// Set before the dialog is created so that every message of the creation reaches the object.
SettingsDialog* registeredDialog = nullptr;

// Shared icons: the window class already loaded the large one, so it comes from the cache, and
// neither is ever destroyed while the program runs.
void SetDialogIcons(HWND window) {
    auto load = [](int cx, int cy) {
        return reinterpret_cast<LPARAM>(
            LoadImageW(instanceHandle, MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON, cx, cy, LR_SHARED));
    };
    SendMessageW(window, WM_SETICON, ICON_SMALL, load(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)));
    SendMessageW(window, WM_SETICON, ICON_BIG, load(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)));
}

// Above 96 dpi the header picture is stretched across the dialog down to the header line;
// at 96 dpi the template's picture fits as it is.
void FitHeaderPicture(HWND window) {
    if (GetSystemMetrics(SM_CXSMICON) <= 16) {
        return;
    }
    RECT client = {};
    GetClientRect(window, &client);
    int width = client.right;
    int height = ControlRect(window, IDC_HEADER_LINE).top;
    HWND picture = GetDlgItem(window, IDC_HEADER_PICTURE);
    SetWindowPos(picture, nullptr, 0, 0, width, height, 0);
    auto source = reinterpret_cast<HBITMAP>(SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
    ScopedGdiObject dark;
    if (IsDarkModeActiveSeam()) {
        dark.Reset(LoadBitmapW(instanceHandle, MAKEINTRESOURCEW(IDB_HEADER_DARK)));
        source = static_cast<HBITMAP>(dark.Get());
    }
    HBITMAP scaled = ScaleBitmapSeam(source, width, height);
    if (scaled != nullptr) {
        DeleteObject(reinterpret_cast<HGDIOBJ>(
            SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(scaled))));
    }
}

void ReadStartWithWindows() {
    wchar_t valueName[128] = L"";
    LoadStringW(instanceHandle, IDS_RUN_VALUE_NAME, valueName, 128);
    settings.autostart = IsAutostartRegistered(valueName) ? 1 : 0;
    SetCheckBox(IDC_START_WITH_WINDOWS, settings.autostart);
}

void ReadDisable() {
    settings.m_disable = ReadIntSetting(L"m_disable", settings.m_disable);
    SetCheckBox(IDC_DISABLE, settings.m_disable);
    ApplyDisableState();
}

void Load(const wchar_t* key, int& field) {
    field = ReadIntSetting(key, field);
}

void ReadOptions() {
    Load(L"start_tray", settings.start_tray);
    Load(L"tray_if_minimize", settings.tray_if_minimize);
    Load(L"show_icons_by_l_mouse", settings.show_icons_by_l_mouse);
    Load(L"show_icons_by_r_mouse", settings.show_icons_by_r_mouse);
    Load(L"show_icons_by_contextmenu", settings.show_icons_by_contextmenu);
    settings.m_wallpaper_color = -1;  // whatever a previous read left, a missing key means no colour
    Load(L"m_wallpaper_color", settings.m_wallpaper_color);
    Load(L"hide_at_programstart", settings.hide_at_programstart);
    Load(L"show_icons_by_m_mouse", settings.show_icons_by_m_mouse);
    Load(L"hide_icons_by_m_mouse", settings.hide_icons_by_m_mouse);
    Load(L"show_icons_win_d", settings.show_icons_win_d);
    Load(L"show_icons_mouse_move", settings.show_icons_mouse_move);
    Load(L"task_bar_ico_rule", settings.task_bar_ico_rule);
    Load(L"hide_taskbar", settings.hide_taskbar);
    Load(L"topmost", settings.topmost);
}

void ShowWindowOptions(HWND window) {
    SetCheckBox(IDC_ALWAYS_ON_TOP, settings.topmost);
    // A new dialog is not topmost, and making it "not topmost" costs Wine a round trip to the
    // X server on every start.
    if (settings.topmost == 1) {
        ApplyTopmost(window, settings.topmost);
    }
    SetCheckBox(IDC_START_IN_TRAY, settings.start_tray);
    SetCheckBox(IDC_HIDE_TASKBAR, settings.hide_taskbar);
    SetCheckBox(IDC_HIDE_AT_START, settings.hide_at_programstart);
    SetCheckBox(IDC_HIDE_BY_MIDDLE, settings.hide_icons_by_m_mouse);
}

void ShowMouseOptions() {
    SetCheckBox(IDC_SHOW_BY_LEFT, settings.show_icons_by_l_mouse);
    SetCheckBox(IDC_SHOW_BY_MIDDLE, settings.show_icons_by_m_mouse);
    SetCheckBox(IDC_SHOW_BY_RIGHT, settings.show_icons_by_r_mouse);
    SetCheckBox(IDC_SHOW_BY_CONTEXT_MENU, settings.show_icons_by_contextmenu);
    SetCheckBox(IDC_SHOW_BY_WIN_D, settings.show_icons_win_d);
    SetCheckBox(IDC_SHOW_BY_MOUSE_MOVE, settings.show_icons_mouse_move);
}

void HideAtProgramStart() {
    if (settings.hide_at_programstart != 1 || settings.m_disable != 0) {
        return;
    }
    SetIconsVisible(false);
    if (settings.hide_taskbar == 1) {
        HideTaskbars();
    }
}

BOOL SettingsDialog::Initialise(HWND window) {
    OleInitialize(nullptr);
    SetDialogIcons(window);
    settingsDialog = window;  // from here on the engine's timer and countdown have their window
    FitHeaderPicture(window);
    linkBar_ = CreateToolbar(0, kFlatToolbarStyle, window, IDC_LINK_BAR_PLACE);
    CreateMenuBarSeam(window, ControlRect(window, IDC_HEADER_LINE).bottom);
    RegisterCommandImagesSeam();
    ApplyDialogTexts();
    idleSince = NowMs();
    ReadStartWithWindows();
    ReadDisable();
    ReadOptions();
    ShowWindowOptions(window);
    if (QueryOsVersion().reportedMajor < 6) {
        ApplyClassicThemeSeam(GetDlgItem(window, IDC_COUNTDOWN));  // the themed bar needs Vista
    }
    SetUpHideTimeControls(window);
    SetIconsVisible(true);
    SetTimer(window, kDialogTimerId, kDialogTimerPeriodMs, nullptr);
    ShowMouseOptions();
    BalanceMouseOptions(kContextMenuChanged);
    BalanceMouseOptions(kLeftButtonChanged);
    HideAtProgramStart();
    return TRUE;
}

INT_PTR SettingsDialog::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return Initialise(window);
        case WM_COMMAND:
            OnDialogCommand(LOWORD(wParam));
            return FALSE;
        case WM_TIMER:
            OnDialogTimer();
            return FALSE;
        case WM_HSCROLL:
        case WM_VSCROLL:
            OnHideTimeScroll(window);
            return TRUE;
        case WM_SYSCOMMAND:
            return OnDialogSysCommand(LOWORD(wParam));
        case WM_CLOSE:
            HideDialogToTray();
            return TRUE;
        case WM_NOTIFY:
            OnDialogNotify(wParam, reinterpret_cast<NMHDR*>(lParam));
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

HWND CreateSettingsDialog(HWND parent) {
    registeredDialog = &theDialog;
    HWND window = CreateDialogParamW(instanceHandle, MAKEINTRESOURCEW(IDD_SETTINGS), parent, SettingsDialogProc, 0);
    settingsDialog = window;
    if (settings.start_tray == 0 && startInBackground == 0) {
        ShowWindow(window, SW_SHOW);
    }
    return window;
}

INT_PTR CALLBACK SettingsDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (registeredDialog == nullptr) {
        return FALSE;
    }
    return registeredDialog->HandleMessage(window, message, wParam, lParam);
}

HWND LinkBarWindow() {
    return theDialog.LinkBar();
}
