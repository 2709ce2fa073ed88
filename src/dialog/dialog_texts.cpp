#include "dialog/dialog_texts.h"

#include <windows.h>
#include <commctrl.h>

#include <cwchar>
#include <iterator>
#include <utility>
#include <vector>

#include "appearance/owner_drawn_menu_bar.h"
#include "appearance/menu_images.h"
#include "common/scoped_handle.h"
#include "common/program.h"
#include "common/text.h"
#include "common/window_dpi.h"
#include "dialog/link_bar.h"
#include "dialog/os_version.h"
#include "extras/program_menu.h"
#include "lang/language_pack.h"
#include "lang/text_ids.h"
#include "resource_ids.h"

namespace {

constexpr int kShellInfoIcon = 14;
constexpr int kNoticeImage = 0;
constexpr int kDonateImage = 1;
// Enough to clear the link bar of everything a previous language put there.
constexpr int kLinkButtonsToClear = 5;
constexpr wchar_t kLanguageButtonText[] = L"# LNG";
constexpr wchar_t kFaqButtonText[] = L"# ?";

struct ControlText {
    int control;
    TextId text;
};

constexpr ControlText kControlTexts[] = {
    {IDC_PREFERENCES_GROUP, kTextPreferences},
    {IDC_SHOW_BY_CLICK_GROUP, kTextShowViaDesktopClick},
    {IDC_SHOW_BY_LEFT, kTextLeftMouseButton},
    {IDC_SHOW_BY_MIDDLE, kTextMiddleMouseButton},
    {IDC_SHOW_BY_RIGHT, kTextRightMouseButton},
    {IDC_SHOW_BY_CONTEXT_MENU, kTextDesktopContextMenu},
    {IDC_SHOW_BY_WIN_D, kTextIconsVisibleWinD},
    {IDC_SHOW_BY_MOUSE_MOVE, kTextShowIconsWhenTheMouseMoves},
    {IDC_MORE_OPTIONS, kTextMoreOptions},
    {IDC_TIMER_LABEL, kTextTimer},
    // The slider and the countdown show no text: a screen reader names them by the label
    // before them, or (where it asks the control itself) by their own window text.
    {IDC_HIDE_TIME_LABEL, kTextTimer},
    {IDC_HIDE_TIME_SLIDER, kTextTimer},
    {IDC_COUNTDOWN, kTextTimer},
    {IDC_DISABLE, kTextDisable},
    {IDC_START_WITH_WINDOWS, kTextStartWithWindows},
    {IDC_START_IN_TRAY, kTextAlwaysStartMinimised},
    {IDC_HIDE_TASKBAR, kTextHideTaskbar},
    {IDC_ALWAYS_ON_TOP, kTextAlwaysOnTop},
    {IDC_HIDE_AT_START, kTextHideIconsAtProgramStart},
    {IDC_DISABLE_PERMANENTLY, kTextHideDesktopIconsPermanently},
    {IDC_HIDE_BY_MIDDLE, kTextHideViaMiddleMouseButton},
};

// The controls that take the link bar's font instead of the template's.
constexpr int kLinkFontControls[] = {
    IDC_MORE_OPTIONS,        IDC_TIMER_LABEL,       IDC_SHOW_BY_LEFT,  IDC_SHOW_BY_MIDDLE,     IDC_SHOW_BY_WIN_D,
    IDC_SHOW_BY_RIGHT,       IDC_PREFERENCES_GROUP, IDC_DISABLE,       IDC_START_WITH_WINDOWS, IDC_START_IN_TRAY,
    IDC_HIDE_TASKBAR,        IDC_ALWAYS_ON_TOP,     IDC_HIDE_AT_START, IDC_HIDE_BY_MIDDLE,     IDC_SHOW_BY_CLICK_GROUP,
    IDC_DISABLE_PERMANENTLY, IDC_HIDE_TIME_TEXT,
};

ScopedImageList linkImages;
UINT linkImagesDpi = 0;

const wchar_t* ProductHeader() {
    const wchar_t* header = GetHeaderText(kHeaderProductAndVersion);
    return header != nullptr ? header : productName;
}

void SetTitle(HWND dialog) {
    const OsVersion& os = QueryOsVersion();
    // Settings live beside the exe only, so every copy of the program is a portable one.
    Text title = Text::Format(L"%s - OS:%d.%d %d %s", ProductHeader(), os.major, os.minor, os.build, L"- Portable");
    SetWindowTextW(dialog, title.c_str());
}

void AddLinkBarButtons(HWND linkBar) {
    bool german = languagePack.currentLanguage == kGerman;
    Text notice = Text(GetHeaderText(kHeaderFreewareNotice)) + Text(german ? L"de" : L"com");
    AddLinkButton(linkBar, notice.c_str(), IDC_LINK_BAR_PLACE, kNoticeImage);
    AddLinkButton(linkBar, GetText(kTextDonate), IDM_DONATE, kDonateImage);
}

// At the small icon size of `dpi`; made again for another DPI.
void GiveLinkBarImages(HWND linkBar, UINT dpi) {
    if (linkImages && linkImagesDpi == dpi) {
        return;
    }
    const int cx = SystemMetricForDpi(SM_CXSMICON, dpi);
    const int cy = SystemMetricForDpi(SM_CYSMICON, dpi);
    ScopedImageList images(ImageList_Create(cx, cy, ILC_COLOR32 | ILC_MASK, 0, 1));
    // Both loaded at the list's size, so that each goes in as it is.
    ScopedIcon info(LoadShellIconSized(kShellInfoIcon, cx, cy));
    if (AddIconToImageList(images.Get(), info.Get()) < 0) {
        ImageList_SetImageCount(images.Get(), 1);  // an empty picture keeps the donate image at 1
    }
    ScopedIcon donate(
        static_cast<HICON>(LoadImageW(ProgramInstance(), MAKEINTRESOURCEW(IDI_LINK), IMAGE_ICON, cx, cy, 0)));
    AddIconToImageList(images.Get(), donate.Get());
    SendMessageW(linkBar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.Get()));
    linkImages = std::move(images);  // the list it replaces is the bar's no more
    linkImagesDpi = dpi;
}

Text ExitButtonText() {
    return Text::Format(L"# %s", GetText(kTextExit));
}

// The program menu and the right-hand buttons follow the language, so they are made anew.
void UpdateMenuBar(MenuBar& menuBar) {
    menuBar.AttachMenu(BuildProgramMenu());
    menuBar.ClearRightButtons();
    const Text exit = ExitButtonText();
    const MenuBar::RightButton buttons[] = {
        {kLanguageButtonText, IDM_LANGUAGE_MENU}, {exit.c_str(), IDM_EXIT}, {kFaqButtonText, IDC_FAQ}};
    menuBar.AddRightButtons(buttons, static_cast<int>(std::size(buttons)));
    if (menuBar.Window() != nullptr) {
        ShowWindow(menuBar.Window(), SW_SHOW);
    }
}

// A text is only set where it changes: under Wine every new text is a call to the server and
// a repaint of the control, and at the first start most texts are the template's already.
void SetControlText(HWND control, const wchar_t* text) {
    wchar_t current[256] = L"";
    const int length = GetWindowTextW(control, current, static_cast<int>(std::size(current)));
    if (length + 1 >= static_cast<int>(std::size(current)) || wcscmp(current, text) != 0) {
        SetWindowTextW(control, text);
    }
}

void SetControlTexts(HWND dialog) {
    for (const ControlText& entry : kControlTexts) {
        SetControlText(GetDlgItem(dialog, entry.control), GetText(entry.text));
    }
}

void ShareLinkBarFont(HWND dialog, HWND linkBar) {
    WPARAM font = static_cast<WPARAM>(SendMessageW(linkBar, WM_GETFONT, 0, 0));
    for (int control : kLinkFontControls) {
        SendDlgItemMessageW(dialog, control, WM_SETFONT, font, TRUE);
    }
}

}  // namespace

void ApplyDialogTexts(const DialogParts& parts) {
    HWND dialog = parts.window;
    HWND linkBar = parts.linkBar;
    if (parts.menuBar != nullptr) {
        UpdateMenuBar(*parts.menuBar);
    }
    RemoveLinkButtons(linkBar, kLinkButtonsToClear);
    SetTitle(dialog);
    AddLinkBarButtons(linkBar);
    GiveLinkBarImages(linkBar, parts.dpi != 0 ? parts.dpi : DpiOfWindow(dialog));
    SetControlTexts(dialog);
    ShareLinkBarFont(dialog, linkBar);
}

std::vector<DialogKeyText> DialogKeyTexts() {
    std::vector<DialogKeyText> texts;
    ScopedMenu programMenu(BuildProgramMenu());
    for (int at = 0; at < GetMenuItemCount(programMenu.Get()); ++at) {
        wchar_t text[100] = L"";
        GetMenuStringW(programMenu.Get(), static_cast<UINT>(at), text, 100, MF_BYPOSITION);
        texts.push_back({Text(text), true});
    }
    texts.push_back({Text(kLanguageButtonText), true});
    texts.push_back({ExitButtonText(), true});
    texts.push_back({Text(kFaqButtonText), true});
    for (const ControlText& entry : kControlTexts) {
        texts.push_back({Text(GetText(entry.text)), false});
    }
    return texts;
}
