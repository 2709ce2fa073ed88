#include "dialog/dialog_commands.h"

#include <shellapi.h>

#include "app/process_objects.h"
#include "desktop/auto_hide_engine.h"
#include "desktop/desktop_windows.h"
#include "desktop/taskbar.h"
#include "dialog/colour_choice.h"
#include "dialog/dialog_controls.h"
#include "dialog/dialog_seams.h"
#include "dialog/more_options_menu.h"
#include "dialog/mouse_options.h"
#include "lang/language_pack.h"
#include "resource_ids.h"
#include "settings/autostart.h"
#include "settings/ini_store.h"
#include "settings/settings.h"

namespace {

constexpr int kGermanLanguage = 0;
constexpr int kGermanDonatePage = 23;  // header texts with the donation page's address
constexpr int kDonatePage = 24;
constexpr int kTooltipLength = 80;

// An option behind a check box: the box's new state is stored, saved, and then acted on.
struct OptionCommand {
    int id;
    int Settings::*field;
    const wchar_t* key;
    void (*then)();
};

void AfterDisableChanged() {
    ApplyDisableState();
    RefreshTrayIconSeam(settings.m_disable);
}

void AfterHideTaskbarChanged() {
    if (settings.hide_taskbar == 0) {
        ShowTaskbars();
    }
}

constexpr OptionCommand kOptionCommands[] = {
    {IDC_ALWAYS_ON_TOP, &Settings::topmost, L"topmost", [] { ApplyTopmost(settingsDialog, settings.topmost); }},
    {IDC_DISABLE, &Settings::m_disable, L"m_disable", AfterDisableChanged},
    {IDC_START_IN_TRAY, &Settings::start_tray, L"start_tray", nullptr},
    {IDC_HIDE_TASKBAR, &Settings::hide_taskbar, L"hide_taskbar", AfterHideTaskbarChanged},
    {IDC_HIDE_AT_START, &Settings::hide_at_programstart, L"hide_at_programstart", nullptr},
    {IDC_HIDE_BY_MIDDLE, &Settings::hide_icons_by_m_mouse, L"hide_icons_by_m_mouse",
     [] { BalanceMouseOptions(kMiddleButtonChanged); }},
    {IDC_SHOW_BY_CONTEXT_MENU, &Settings::show_icons_by_contextmenu, L"show_icons_by_contextmenu",
     [] { BalanceMouseOptions(kContextMenuChanged); }},
    {IDC_SHOW_BY_LEFT, &Settings::show_icons_by_l_mouse, L"show_icons_by_l_mouse",
     [] { BalanceMouseOptions(kLeftButtonChanged); }},
    {IDC_SHOW_BY_MIDDLE, &Settings::show_icons_by_m_mouse, L"show_icons_by_m_mouse",
     [] { BalanceMouseOptions(kMiddleButtonChanged); }},
    {IDC_SHOW_BY_RIGHT, &Settings::show_icons_by_r_mouse, L"show_icons_by_r_mouse",
     [] { BalanceMouseOptions(kRightButtonChanged); }},
    {IDC_SHOW_BY_WIN_D, &Settings::show_icons_win_d, L"show_icons_win_d", [] { BalanceMouseOptions(kWinDChanged); }},
    {IDC_SHOW_BY_MOUSE_MOVE, &Settings::show_icons_mouse_move, L"show_icons_mouse_move", nullptr},
};

const OptionCommand* FindOptionCommand(UINT id) {
    for (const OptionCommand& option : kOptionCommands) {
        if (static_cast<UINT>(option.id) == id) {
            return &option;
        }
    }
    return nullptr;
}

void RunOptionCommand(const OptionCommand& option) {
    int value = CheckBoxValue(option.id);
    settings.*option.field = value;
    WriteIntSetting(option.key, value);
    if (option.then != nullptr) {
        option.then();
    }
}

// Hiding the icons permanently is a stronger "Disable": its box drives the Disable box.
void OnDisablePermanently() {
    settings.disable_permanently = CheckBoxValue(IDC_DISABLE_PERMANENTLY);
    WriteIntSetting(L"disable_permanently", settings.disable_permanently);
    SetCheckBox(IDC_DISABLE, settings.disable_permanently);
    RunOptionCommand(*FindOptionCommand(IDC_DISABLE));
}

void OnStartWithWindows() {
    settings.autostart = CheckBoxValue(IDC_START_WITH_WINDOWS);
    SetAutostart(settings.autostart != 0);
}

void OnHideTaskbarRule() {
    settings.task_bar_ico_rule = settings.task_bar_ico_rule == 0 ? 1 : 0;
    WriteIntSetting(L"task_bar_ico_rule", settings.task_bar_ico_rule);
}

// Whatever hid them, the user gets the icons and taskbars back when the program ends.
void ExitProgram() {
    SetIconsVisible(true);
    ShowTaskbars();
    EndDialog(settingsDialog, IDM_EXIT);
    PostQuitMessage(1);
}

void OpenDonatePage() {
    int page = languagePack.currentLanguage == kGermanLanguage ? kGermanDonatePage : kDonatePage;
    const wchar_t* address = GetHeaderText(page);
    if (address != nullptr && address[0] != L'\0') {
        ShellExecuteW(nullptr, L"open", address, nullptr, nullptr, SW_SHOW);
    }
}

bool RunProgramCommand(UINT command) {
    switch (command) {
        case IDM_EXIT:
            ExitProgram();
            return true;
        case IDM_TO_TRAY:
            HideDialogToTray();
            return true;
        case IDM_LANGUAGE_MENU:
            ShowLanguageMenuSeam(settingsDialog);
            return true;
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
            RunProgramMenuCommandSeam(command);
            return true;
        default:
            return false;
    }
}

}  // namespace

void OnDialogCommand(UINT command) {
    if (const OptionCommand* option = FindOptionCommand(command)) {
        RunOptionCommand(*option);
        return;
    }
    switch (command) {
        case IDC_DISABLE_PERMANENTLY:
            OnDisablePermanently();
            return;
        case IDC_START_WITH_WINDOWS:
            OnStartWithWindows();
            return;
        case IDM_HIDE_TASKBAR_RULE:
            OnHideTaskbarRule();
            return;
        case IDM_DESKTOP_COLOUR:
            OnDesktopColourCommand();
            return;
        case IDC_MORE_OPTIONS:
            ShowMoreOptionsMenu();
            return;
        case IDCANCEL:  // Escape: the dialog stays
            return;
        default:
            RunProgramCommand(command);
            return;
    }
}

void OnDialogTimer() {
    // The user may switch the icons back on in Explorer; permanently means permanently.
    if (settings.disable_permanently == 1) {
        ShellHideIcons();
    }
    if (settings.m_disable == 0) {
        RunAutoHideTick();
    }
}

INT_PTR OnDialogSysCommand(UINT command) {
    if (command != SC_MINIMIZE) {
        return FALSE;
    }
    if (settings.tray_if_minimize == 1 && GetActiveWindow() == settingsDialog) {
        HideDialogToTray();
    }
    return TRUE;
}

void HideDialogToTray() {
    MinimiseToTraySeam();
    ShowWindow(settingsDialog, SW_HIDE);
}

void OnDialogNotify(WPARAM controlId, NMHDR* header) {
    if (header == nullptr || header->code != TTN_GETDISPINFOW || controlId != IDC_FAQ) {
        return;
    }
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
    lstrcpynW(info->szText, L"Velmora-FAQ", kTooltipLength);
}

void ApplyDisableState() {
    settings.m_disable = CheckBoxValue(IDC_DISABLE);
    bool enabled = settings.m_disable == 0;
    UpdateMouseOptionBoxes();
    EnableControl(IDC_HIDE_TASKBAR, enabled);
    EnableControl(IDC_HIDE_AT_START, enabled);
    EnableControl(IDC_DISABLE, settings.disable_permanently == 0);
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
        idleSince = NowMs();
        ShellShowIcons();
    }
}

void ApplyTopmost(HWND dialog, int topmost) {
    SetWindowPos(dialog, topmost == 1 ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}
