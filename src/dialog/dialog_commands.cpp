#include "dialog/dialog_commands.h"

#include <shellapi.h>

#include "appearance/owner_drawn_menu_bar.h"
#include "common/failure_note.h"
#include "common/foreign_messages.h"
#include "desktop/auto_hide_engine.h"
#include "desktop/desktop_windows.h"
#include "desktop/icons_hot_key.h"
#include "desktop/taskbar.h"
#include "dialog/colour_choice.h"
#include "dialog/dialog_controls.h"
#include "dialog/dialog_texts.h"
#include "dialog/exit_restore.h"
#include "dialog/hot_key_dialog.h"
#include "dialog/more_options_menu.h"
#include "dialog/mouse_options.h"
#include "extras/program_menu.h"
#include "lang/language_menu.h"
#include "lang/language_pack.h"
#include "lang/text_ids.h"
#include "resource_ids.h"
#include "settings/autostart.h"
#include "settings/settings.h"
#include "settings/settings_table.h"
#include "tray/minimise_animation.h"
#include "tray/tray_icon.h"

namespace {

constexpr int kTooltipLength = 80;

// An option behind a check box: the box's new state is stored, saved, and then acted on.
struct OptionCommand {
    int id;
    int Settings::*field;
    void (*then)(HWND dialog);
};

void AfterDisableChanged(HWND dialog) {
    ApplyDisableState(dialog);
    RefreshTrayIcon(settings.m_disable != 0);
    ApplyIconsHotKey(settings.hotkey, settings.m_disable == 0);
}

void AfterHideTaskbarChanged(HWND) {
    if (settings.hide_taskbar == 0) {
        ShowTaskbars();
    }
}

constexpr OptionCommand kOptionCommands[] = {
    {IDC_ALWAYS_ON_TOP, &Settings::topmost, [](HWND dialog) { ApplyTopmost(dialog, settings.topmost); }},
    {IDC_DISABLE, &Settings::m_disable, AfterDisableChanged},
    {IDC_START_IN_TRAY, &Settings::start_tray, nullptr},
    {IDC_HIDE_TASKBAR, &Settings::hide_taskbar, AfterHideTaskbarChanged},
    {IDC_HIDE_AT_START, &Settings::hide_at_programstart, nullptr},
    {IDC_HIDE_BY_MIDDLE, &Settings::hide_icons_by_m_mouse, [](HWND dialog) { BalanceMouseOptions(dialog, kMiddleButtonChanged); }},
    {IDC_SHOW_BY_CONTEXT_MENU, &Settings::show_icons_by_contextmenu, [](HWND dialog) { BalanceMouseOptions(dialog, kContextMenuChanged); }},
    {IDC_SHOW_BY_LEFT, &Settings::show_icons_by_l_mouse, [](HWND dialog) { BalanceMouseOptions(dialog, kLeftButtonChanged); }},
    {IDC_SHOW_BY_MIDDLE, &Settings::show_icons_by_m_mouse, [](HWND dialog) { BalanceMouseOptions(dialog, kMiddleButtonChanged); }},
    {IDC_SHOW_BY_RIGHT, &Settings::show_icons_by_r_mouse, [](HWND dialog) { BalanceMouseOptions(dialog, kRightButtonChanged); }},
    {IDC_SHOW_BY_WIN_D, &Settings::show_icons_win_d, [](HWND dialog) { BalanceMouseOptions(dialog, kWinDChanged); }},
    {IDC_SHOW_BY_MOUSE_MOVE, &Settings::show_icons_mouse_move, nullptr},
};

const OptionCommand* FindOptionCommand(UINT id) {
    for (const OptionCommand& option : kOptionCommands) {
        if (static_cast<UINT>(option.id) == id) {
            return &option;
        }
    }
    return nullptr;
}

void RunOptionCommand(HWND dialog, const OptionCommand& option) {
    SaveSetting(option.field, CheckBoxValue(dialog, option.id));
    if (option.then != nullptr) {
        option.then(dialog);
    }
}

// Hiding the icons permanently is a stronger "Disable": its box drives the Disable box.
void OnDisablePermanently(HWND dialog) {
    SaveSetting(&Settings::disable_permanently, CheckBoxValue(dialog, IDC_DISABLE_PERMANENTLY));
    SetCheckBox(dialog, IDC_DISABLE, settings.disable_permanently);
    RunOptionCommand(dialog, *FindOptionCommand(IDC_DISABLE));
}

// A Run value that could not be changed leaves the box as it was: it shows what is registered.
void OnStartWithWindows(HWND dialog) {
    const bool wanted = CheckBoxValue(dialog, IDC_START_WITH_WINDOWS) != 0;
    const bool registered = SetAutostart(wanted) ? wanted : !wanted;
    KeepSettingUnsaved(&Settings::autostart, registered ? 1 : 0);
    SetCheckBox(dialog, IDC_START_WITH_WINDOWS, registered ? 1 : 0);
}

void OnHideTaskbarRule() {
    SaveSetting(&Settings::task_bar_ico_rule, settings.task_bar_ico_rule == 0 ? 1 : 0);
}

// Whatever hid them, the user gets the icons and taskbars back when the program ends.
void ExitProgram(HWND dialog) {
    EndDialog(dialog, IDM_EXIT);
    EndProgram(1);
}

void OpenDonatePage() {
    HeaderId page = languagePack.currentLanguage == kGerman ? kHeaderGermanDonatePage : kHeaderDonatePage;
    const wchar_t* address = GetHeaderText(page);
    if (address == nullptr || address[0] == L'\0') {
        return;
    }
    // The shell tells the user itself why a page does not open.
    HINSTANCE opened = ShellExecuteW(nullptr, L"open", address, nullptr, nullptr, SW_SHOW);
    if (reinterpret_cast<INT_PTR>(opened) <= 32) {
        NoteFailure(L"ShellExecute (donate page)", static_cast<DWORD>(reinterpret_cast<INT_PTR>(opened)));
    }
}

// The language menu opens under the menu bar's "# LNG" button, with its side band.
class DialogLanguageHost final : public LanguageHost {
  public:
    explicit DialogLanguageHost(const DialogParts& dialog) : dialog_(dialog) {}

    HWND Window() const override { return dialog_.window; }

    UINT TrackLanguagePopup(HMENU menu) override {
        if (dialog_.menuBar == nullptr) {
            return 0;
        }
        OwnerDrawnMenuBar& menuBar = *dialog_.menuBar;
        menuBar.SetLanguagePopupOpen(true);
        const UINT choice = menuBar.TrackPopupUnderRightButton(menu, IDM_LANGUAGE_MENU, TPM_RETURNCMD);
        menuBar.SetLanguagePopupOpen(false);
        return choice;
    }

    void Retext() override { ApplyDialogTexts(dialog_); }

  private:
    const DialogParts& dialog_;
};

bool RunProgramCommand(const DialogParts& dialog, UINT command) {
    switch (command) {
        case IDM_EXIT:
            ExitProgram(dialog.window);
            return true;
        case IDM_TO_TRAY:
            HideDialogToTray(dialog.window);
            return true;
        case IDM_LANGUAGE_MENU: {
            DialogLanguageHost host(dialog);
            ShowLanguageMenu(host);
            return true;
        }
        case IDM_DONATE:
            OpenDonatePage();
            return true;
        case IDC_LINK_BAR_PLACE:
        case IDC_FAQ:
        case IDM_RECOMMEND:
        case IDM_SEND_ZIP:
        case IDM_NEWEST_VERSION:
        case IDM_HISTORY:
        case IDM_UNINSTALL:
        case IDM_LICENSE:
            RunProgramMenuCommand(dialog.window, command);
            return true;
        default:
            return false;
    }
}

}  // namespace

void ShowOptionBoxes(HWND dialog) {
    for (const OptionCommand& option : kOptionCommands) {
        SetCheckBox(dialog, option.id, settings.*option.field);
    }
}

void OnDialogCommand(const DialogParts& dialog, UINT command) {
    if (const OptionCommand* option = FindOptionCommand(command)) {
        RunOptionCommand(dialog.window, *option);
        return;
    }
    switch (command) {
        case IDC_DISABLE_PERMANENTLY:
            OnDisablePermanently(dialog.window);
            return;
        case IDC_START_WITH_WINDOWS:
            OnStartWithWindows(dialog.window);
            return;
        case IDM_HIDE_TASKBAR_RULE:
            OnHideTaskbarRule();
            return;
        case IDM_HIDE_BY_DOUBLE_CLICK:
            SaveSetting(&Settings::hide_icons_by_dblclick, settings.hide_icons_by_dblclick == 0 ? 1 : 0);
            return;
        case IDM_DESKTOP_COLOUR:
            OnDesktopColourCommand(dialog.window);
            return;
        case IDC_MORE_OPTIONS:
            ShowMoreOptionsMenu(dialog.window);
            return;
        case IDM_HOTKEY:
            ShowHotKeyDialog(dialog.window);
            return;
        case IDCANCEL:  // Escape: the dialog stays
            return;
        default:
            RunProgramCommand(dialog, command);
            return;
    }
}

namespace {

// The timer is stopped while the tick runs, so a slow cross-process call cannot make timer
// messages pile up, and the next tick comes a full period after this one ends. Should it not
// start again, the dialog's slower timer still runs the tick and tries again each time.
void RunEngineTick(HWND dialog) {
    KillTimer(dialog, kTickTimerId);
    RunAutoHideTick(GetDlgItem(dialog, IDC_COUNTDOWN));
    static bool noted = false;  // one line for a failure that repeats five times a second
    if (SetTimer(dialog, kTickTimerId, kTickPeriodMs, nullptr) == 0 && !noted) {
        noted = true;
        NoteFailure(L"SetTimer (engine tick)");
    }
}

}  // namespace

void OnDialogTimer(HWND dialog) {
    // The user may switch the icons back on in Explorer; permanently means permanently.
    if (settings.disable_permanently == 1) {
        ShellHideIcons();
    }
    if (settings.m_disable == 0) {
        RunEngineTick(dialog);
    }
}

INT_PTR OnDialogSysCommand(HWND dialog, UINT command) {
    if (command != SC_MINIMIZE) {
        return FALSE;
    }
    if (settings.tray_if_minimize == 1 && GetActiveWindow() == dialog) {
        HideDialogToTray(dialog);
    }
    return TRUE;
}

void HideDialogToTray(HWND dialog) {
    MinimiseToTray(dialog);
    ShowWindow(dialog, SW_HIDE);
}

void OnDialogNotify(HWND dialog, WPARAM controlId, LPARAM lParam) {
    if (controlId != IDC_FAQ) {
        return;
    }
    // The whole record is checked: the text is written into it.
    NMHDR* header = TrustedNotification(dialog, lParam, sizeof(NMTTDISPINFOW));
    if (header == nullptr || header->code != TTN_GETDISPINFOW) {
        return;
    }
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
    // The page's own name, the same in every language (the menu's "FAQ" item is translated).
    lstrcpynW(info->szText, L"Velmora-FAQ", kTooltipLength);
}

void ApplyDisableState(HWND dialog) {
    KeepSettingUnsaved(&Settings::m_disable, CheckBoxValue(dialog, IDC_DISABLE));  // the box's command saved it
    bool enabled = settings.m_disable == 0;
    UpdateMouseOptionBoxes(dialog);
    EnableControl(dialog, IDC_HIDE_TASKBAR, enabled);
    EnableControl(dialog, IDC_HIDE_AT_START, enabled);
    EnableControl(dialog, IDC_DISABLE, settings.disable_permanently == 0);
    if (settings.disable_permanently == 1) {
        ShellHideIcons();
        return;
    }
    if (settings.m_disable == 1) {
        SetIconsVisible(true);
        if (settings.hide_taskbar == 1) {
            ShowTaskbars();
        }
    } else {
        RestartIdleTime();
        ShellShowIcons();
    }
}

void ApplyTopmost(HWND dialog, int topmost) {
    SetWindowPos(dialog, topmost == 1 ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}
