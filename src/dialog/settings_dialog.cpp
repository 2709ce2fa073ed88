#include "dialog/settings_dialog.h"

#include <ole2.h>

#include <utility>

#include "appearance/dark_mode.h"
#include "appearance/live_theme.h"
#include "appearance/menu_font.h"
#include "appearance/menu_images.h"
#include "appearance/owner_drawn_menu_bar.h"
#include "appearance/toolbar.h"
#include "appearance/window_theme.h"
#include "common/failure_note.h"
#include "common/input_window.h"
#include "common/program.h"
#include "common/scoped_handle.h"
#include "common/startup_trace.h"
#include "common/window_dpi.h"
#include "desktop/auto_hide_engine.h"
#include "desktop/desktop_windows.h"
#include "desktop/icons_hot_key.h"
#include "desktop/taskbar.h"
#include "dialog/dialog_commands.h"
#include "dialog/dialog_controls.h"
#include "dialog/dialog_layout.h"
#include "dialog/dialog_parts.h"
#include "dialog/dialog_texts.h"
#include "dialog/header_name.h"
#include "dialog/hide_time_slider.h"
#include "dialog/link_bar.h"
#include "dialog/mouse_options.h"
#include "dialog/os_version.h"
#include "extras/bitmap_scaler.h"
#include "resource_ids.h"
#include "settings/autostart.h"
#include "settings/settings.h"
#include "settings/settings_table.h"

namespace {

// Posted to itself once the dialog exists: the work that waits until it is on screen.
constexpr UINT kLoadMenuImagesMessage = WM_APP + 1;
// The link bar's bitmaps until it has its image list, which sets their size.
constexpr int kLinkBitmapHeight = 12;

struct CommandImage {
    int shellIcon;
    UINT command;
};

// Drawn beside the menu items with these commands, in this order.
constexpr CommandImage kCommandImages[] = {
    {28, IDM_EXIT},           {265, IDM_RECOMMEND}, {265, IDM_SEND_ZIP}, {14, IDC_FAQ},        {14, IDM_DONATE},
    {14, IDM_NEWEST_VERSION}, {14, IDM_HISTORY},    {14, IDM_LICENSE},   {271, IDM_UNINSTALL},
};

class SettingsDialog {
  public:
    INT_PTR HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND LinkBar() const { return parts_.linkBar; }
    OwnerDrawnMenuBar& Menus() { return menuBar_; }

  private:
    BOOL Initialise(HWND window);
    void LayOutLinkBar(HWND window);
    void LayOutMenuBar(HWND window);
    void OnDpiChanged(HWND window, UINT dpi, LPARAM suggestedRect);
    void LoadMenuImages();

    OwnerDrawnMenuBar menuBar_;
    DialogParts parts_{nullptr, nullptr, &menuBar_};
    bool menuImagesLoaded_ = false;
    // Made for a DPI other than the one the dialog started at, and kept while its controls
    // use them.
    DpiLayoutObjects templateObjects_;
    ScopedGdiObject linkFont_;
    bool headerNamed_ = false;
};

// Made on first use: its menu bar asks the system for fonts and metrics, and the first such
// call makes this a GUI thread, whose set-up loads DLLs by name. Before the program's first
// line that search would still begin in the exe's folder.
SettingsDialog& TheDialog() {
    static SettingsDialog dialog;
    return dialog;
}
// Set before the dialog is created so that every message of the creation reaches the object.
SettingsDialog* registeredDialog = nullptr;

// Each size its own image (the title bar and the tray show the small one); the icon it
// replaces was set here before and is ours to destroy.
void SetDialogIcon(HWND window, WPARAM which, int size) {
    HICON icon = LoadIconAtSize(ProgramInstance(), IDI_PROGRAM, size);
    auto previous = reinterpret_cast<HICON>(SendMessageW(window, WM_SETICON, which, reinterpret_cast<LPARAM>(icon)));
    if (previous != nullptr && previous != icon) {
        DestroyIcon(previous);
    }
}

void SetDialogIcons(HWND window, UINT dpi) {
    SetDialogIcon(window, ICON_SMALL, SystemMetricForDpi(SM_CXSMICON, dpi));
    SetDialogIcon(window, ICON_BIG, SystemMetricForDpi(SM_CXICON, dpi));
}

// Above 96 dpi the header picture is stretched across the dialog down to the header line;
// at 96 dpi the template's picture fits as it is.
void FitHeaderPicture(HWND window, UINT dpi) {
    if (SystemMetricForDpi(SM_CXSMICON, dpi) <= 16) {
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
    if (IsDarkModeActive()) {
        dark.Reset(LoadBitmapW(ProgramInstance(), MAKEINTRESOURCEW(IDB_HEADER_DARK)));
        source = static_cast<HBITMAP>(dark.Get());
    }
    // The scaler deletes the bitmap it replaces: the control's own, or the dark one.
    if (!ScaleBitmap(source, width, height)) {
        return;
    }
    dark.Release();
    SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(source));
}

void RegisterCommandImages(OwnerDrawnMenuBar& menuBar) {
    for (const CommandImage& image : kCommandImages) {
        menuBar.RegisterCommandImage(LoadShellIcon(image.shellIcon), image.command);
    }
}

void ReadStartWithWindows(HWND window) {
    KeepSettingUnsaved(&Settings::autostart, IsAutostartRegistered() ? 1 : 0);
    SetCheckBox(window, IDC_START_WITH_WINDOWS, settings.autostart);
}

void ReadDisable(HWND window) {
    LoadSettings(SettingRead::kDialogDisable);
    SetCheckBox(window, IDC_DISABLE, settings.m_disable);
    ApplyDisableState(window);
}

void ReadOptions() {
    // Whatever a previous read left, a missing key means no colour.
    KeepSettingUnsaved(&Settings::m_wallpaper_color, kNoWallpaperColour);
    LoadSettings(SettingRead::kDialogInit);
    // A hand-edited value the hot-key dialog could not have saved names no key: its bits would
    // register something nobody chose ("Shift+" no key at all, for 256).
    if (!IsControlHotKey(settings.hotkey)) {
        KeepSettingUnsaved(&Settings::hotkey, 0);
    }
}

void ShowWindowOptions(HWND window) {
    ShowOptionBoxes(window);
    // A new dialog is not topmost, and making it "not topmost" costs Wine a round trip to the
    // X server on every start.
    if (settings.topmost == 1) {
        ApplyTopmost(window, settings.topmost);
    }
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

void SettingsDialog::LoadMenuImages() {
    if (!menuImagesLoaded_) {
        menuImagesLoaded_ = true;
        RegisterCommandImages(menuBar_);
    }
}

HFONT FontOr(const ScopedGdiObject& font, HFONT otherwise) {
    return font ? static_cast<HFONT>(font.Get()) : otherwise;
}

// Under the template's place holder, as tall as the icons of the dialog's DPI.
void SettingsDialog::LayOutLinkBar(HWND window) {
    ScopedGdiObject font(FontAtDpi(ToolbarFont(), parts_.dpi));
    SendMessageW(parts_.linkBar, WM_SETFONT, reinterpret_cast<WPARAM>(FontOr(font, ToolbarFont())), FALSE);
    SendMessageW(parts_.linkBar, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, kLinkBitmapHeight));
    PlaceToolbar(parts_.linkBar, window, IDC_LINK_BAR_PLACE,
                 static_cast<int>(SystemMetricForDpi(SM_CYICON, parts_.dpi) * 1.1));
    linkFont_ = std::move(font);  // the font it replaces is the bar's no more
}

// Under the header line, its buttons growing with the small icons of the dialog's DPI.
void SettingsDialog::LayOutMenuBar(HWND window) {
    const int iconHeight = SystemMetricForDpi(SM_CYSMICON, parts_.dpi);
    menuBar_.top = ControlRect(window, IDC_HEADER_LINE).bottom;
    menuBar_.buttonHeight = static_cast<int>(iconHeight * 1.5);
    menuBar_.bitmapHeight = iconHeight;
    menuBar_.font = MenuFontAt(parts_.dpi).plain;
    if (menuBar_.Window() == nullptr) {
        menuBar_.Create(window);
    } else {
        menuBar_.LayOut();
    }
}

// Every control, font, picture and bar as a start at `dpi` makes them. The system's own
// scaling is off (TakeOverDpiScaling), so nothing is scaled twice.
void SettingsDialog::OnDpiChanged(HWND window, UINT dpi, LPARAM suggestedRect) {
    parts_.dpi = dpi;
    TakeSuggestedRect(window, suggestedRect);
    LayOutFromTemplate(window, IDD_SETTINGS, dpi, templateObjects_);
    SetDialogIcons(window, dpi);
    FitHeaderPicture(window, dpi);
    LayOutLinkBar(window);
    LayOutMenuBar(window);
    // The bars' buttons and pictures, and the link bar's font on the controls that share it.
    ApplyDialogTexts(parts_);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

BOOL SettingsDialog::Initialise(HWND window) {
    MarkStartup("dialog controls");
    // Only the shell's ZIP folder needs OLE, and it says so itself when it cannot work.
    const HRESULT ole = OleInitialize(nullptr);
    if (FAILED(ole)) {
        NoteFailure(L"OleInitialize", static_cast<DWORD>(ole));
    }
    MarkStartup("OLE");
    const UINT dpi = DpiOfWindow(window);
    // Started on a monitor of another DPI than the screen's (Windows 10): the dialog manager
    // placed the controls for it, but the program's icon control took the screen's icon size.
    if (dpi != ScreenDpi()) {
        LayOutFromTemplate(window, IDD_SETTINGS, dpi, templateObjects_);
    }
    SetDialogIcons(window, dpi);
    settingsDialog = window;  // from here on the engine's timer and countdown have their window
    parts_.window = window;
    parts_.dpi = dpi;
    FitHeaderPicture(window, dpi);
    const int iconHeight = SystemMetricForDpi(SM_CYICON, dpi);
    parts_.linkBar = CreateFlatToolbar(window, 0, kFlatToolbarStyle | WS_TABSTOP, 12 * iconHeight, iconHeight + 2);
    LayOutLinkBar(window);
    MarkStartup("header and link bar");
    menuBar_.InitMenuAppearance();
    LayOutMenuBar(window);
    TakeOverDpiScaling(window);
    MarkStartup("menu bar");
    // Nothing on screen shows the menus' pictures until a menu opens: they are loaded once
    // the dialog is up.
    PostMessageW(window, kLoadMenuImagesMessage, 0, 0);
    ApplyDialogTexts(parts_);
    MarkStartup("texts");
    RestartIdleTime();
    ReadStartWithWindows(window);
    ReadDisable(window);
    ReadOptions();
    ShowWindowOptions(window);
    if (QueryOsVersion().reportedMajor < 6) {
        ApplyWindowTheme(GetDlgItem(window, IDC_COUNTDOWN), L"", L"");  // the themed bar needs Vista
    }
    SetUpHideTimeControls(window);
    SetIconsVisible(true);
    // The engine's own timer is started by this one's first tick: without it nothing hides.
    if (SetTimer(window, kDialogTimerId, kDialogTimerPeriodMs, nullptr) == 0) {
        NoteFailure(L"SetTimer (dialog)");
    }
    BalanceMouseOptions(window, kContextMenuChanged);
    BalanceMouseOptions(window, kLeftButtonChanged);
    HideAtProgramStart();
    MarkStartup("dialog initialised");
    return TRUE;
}

INT_PTR SettingsDialog::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return Initialise(window);
        case WM_COMMAND:
            // By id alone: lParam is a control, 0 for menus and accelerators, or the menu bar's
            // marker for a command chosen from one of its popups.
            OnDialogCommand(parts_, LOWORD(wParam));
            return FALSE;
        case WM_TIMER:
            OnDialogTimer(window);
            return FALSE;
        case WM_HSCROLL:
        case WM_VSCROLL:
            OnHideTimeScroll(window);
            return TRUE;
        case WM_SYSCOMMAND:
            return OnDialogSysCommand(window, LOWORD(wParam));
        case WM_CLOSE:
            HideDialogToTray(window);
            return TRUE;
        case WM_NOTIFY:
            OnDialogNotify(window, wParam, lParam);
            return FALSE;
        case kLoadMenuImagesMessage:
            LoadMenuImages();
            MakeLinkBarReachable(parts_.linkBar);  // its keys, too, wait until the dialog is up
            return TRUE;
        case WM_GETDPISCALEDSIZE:
            return AnswerDpiScaledSize(window, IDD_SETTINGS, wParam, lParam);
        case WM_DPICHANGED:
            OnDpiChanged(window, HIWORD(wParam), lParam);
            SetWindowLongPtrW(window, DWLP_MSGRESULT, 0);
            return TRUE;
        case WM_GETOBJECT:
            // A screen reader (or any accessibility client) asks the dialog before its children.
            if (!headerNamed_) {
                headerNamed_ = true;
                NameHeaderPicture(GetDlgItem(window, IDC_HEADER_PICTURE), productName);
            }
            return FALSE;
        case WM_SETTINGCHANGE:
        case WM_SYSCOLORCHANGE:
        case WM_THEMECHANGED:
            if (IsColourSchemeChange(message, wParam, lParam)) {
                FollowSystemColours(window, message);
            }
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

HWND settingsDialog = nullptr;

HWND CreateSettingsDialog(HWND parent, bool startInBackground) {
    registeredDialog = &TheDialog();
    HWND window = CreateDialogParamW(ProgramInstance(), MAKEINTRESOURCEW(IDD_SETTINGS), parent, SettingsDialogProc, 0);
    if (window == nullptr) {
        NoteFailure(L"CreateDialogParam (settings dialog)");
    }
    settingsDialog = window;
    if (settings.start_tray == 0 && !startInBackground) {
        ShowWindow(window, SW_SHOW);
        MarkStartup("dialog shown");
    }
    return window;
}

void ShowSettingsDialogToFront() {
    ShowWindow(settingsDialog, SW_SHOW);
    SetForegroundWindow(InputWindow(settingsDialog));
}

INT_PTR CALLBACK SettingsDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (registeredDialog == nullptr) {
        return FALSE;
    }
    return registeredDialog->HandleMessage(window, message, wParam, lParam);
}

HWND LinkBarWindow() {
    return TheDialog().LinkBar();
}

OwnerDrawnMenuBar& DialogMenuBar() {
    return TheDialog().Menus();
}
