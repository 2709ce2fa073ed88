#include "dialog/dialog_texts.h"

#include <windows.h>
#include <commctrl.h>

#include "appearance/owner_drawn_menu_bar.h"
#include "appearance/menu_images.h"
#include "common/scoped_handle.h"
#include "common/program.h"
#include "common/text.h"
#include "dialog/link_bar.h"
#include "dialog/os_version.h"
#include "extras/program_menu.h"
#include "lang/language_pack.h"
#include "resource_ids.h"

namespace {

constexpr int kProductHeaderId = 19;  // product name and version
constexpr int kNoticeHeaderId = 22;   // freeware notice ending with the maker's address
constexpr int kDonateTextId = 248;
constexpr int kExitTextId = 50;
constexpr int kShellInfoIcon = 14;
constexpr int kNoticeImage = 0;
constexpr int kDonateImage = 1;
// Enough to clear the link bar of everything a previous language put there.
constexpr int kLinkButtonsToClear = 5;

struct ControlText {
    int control;
    int textId;
};

constexpr ControlText kControlTexts[] = {
    {IDC_PREFERENCES_GROUP, 20},
    {IDC_SHOW_BY_CLICK_GROUP, 40},
    {IDC_SHOW_BY_LEFT, 41},
    {IDC_SHOW_BY_MIDDLE, 42},
    {IDC_SHOW_BY_RIGHT, 43},
    {IDC_SHOW_BY_CONTEXT_MENU, 32},
    {IDC_SHOW_BY_WIN_D, 52},
    {IDC_SHOW_BY_MOUSE_MOVE, 55},
    {IDC_MORE_OPTIONS, 56},
    {IDC_TIMER_LABEL, 44},
    {IDC_DISABLE, 25},
    {IDC_START_WITH_WINDOWS, 21},
    {IDC_START_IN_TRAY, 28},
    {IDC_HIDE_TASKBAR, 46},
    {IDC_ALWAYS_ON_TOP, 31},
    {IDC_HIDE_AT_START, 53},
    {IDC_DISABLE_PERMANENTLY, 60},
    {IDC_HIDE_BY_MIDDLE, 54},
};

// The controls that take the link bar's font instead of the template's.
constexpr int kLinkFontControls[] = {
    IDC_MORE_OPTIONS,        IDC_TIMER_LABEL,       IDC_SHOW_BY_LEFT,  IDC_SHOW_BY_MIDDLE,     IDC_SHOW_BY_WIN_D,
    IDC_SHOW_BY_RIGHT,       IDC_PREFERENCES_GROUP, IDC_DISABLE,       IDC_START_WITH_WINDOWS, IDC_START_IN_TRAY,
    IDC_HIDE_TASKBAR,        IDC_ALWAYS_ON_TOP,     IDC_HIDE_AT_START, IDC_HIDE_BY_MIDDLE,     IDC_SHOW_BY_CLICK_GROUP,
    IDC_DISABLE_PERMANENTLY, IDC_HIDE_TIME_TEXT,
};

ScopedImageList linkImages;

const wchar_t* ProductHeader() {
    const wchar_t* header = GetHeaderText(kProductHeaderId);
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
    Text notice = Text(GetHeaderText(kNoticeHeaderId)) + Text(german ? L"de" : L"com");
    AddLinkButton(linkBar, notice.c_str(), IDC_LINK_BAR_PLACE, kNoticeImage);
    AddLinkButton(linkBar, GetText(kDonateTextId), IDM_DONATE, kDonateImage);
}

void GiveLinkBarImages(HWND linkBar) {
    if (linkImages) {
        return;
    }
    int cx = GetSystemMetrics(SM_CXSMICON);
    int cy = GetSystemMetrics(SM_CYSMICON);
    linkImages.Reset(ImageList_Create(cx, cy, ILC_COLOR32 | ILC_MASK, 0, 1));
    HICON info = LoadShellIcon(kShellInfoIcon);
    if (info != nullptr) {
        ImageList_AddIcon(linkImages.Get(), info);
    } else {
        ImageList_SetImageCount(linkImages.Get(), 1);  // an empty picture keeps the donate image at 1
    }
    ScopedIcon donate(
        static_cast<HICON>(LoadImageW(ProgramInstance(), MAKEINTRESOURCEW(IDI_LINK), IMAGE_ICON, 16, 16, 0)));
    ImageList_AddIcon(linkImages.Get(), donate.Get());
    SendMessageW(linkBar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(linkImages.Get()));
}

// The program menu and the right-hand buttons follow the language, so they are made anew.
void UpdateMenuBar(MenuBar& menuBar) {
    menuBar.AttachMenu(BuildProgramMenu());
    menuBar.ClearRightButtons();
    menuBar.AddRightButton(L"# LNG", IDM_LANGUAGE_MENU);
    menuBar.AddRightButton(Text::Format(L"# %s", GetText(kExitTextId)).c_str(), IDM_EXIT);
    menuBar.AddRightButton(L"# ?", IDC_FAQ);
    if (menuBar.Window() != nullptr) {
        ShowWindow(menuBar.Window(), SW_SHOW);
    }
}

void SetControlTexts(HWND dialog) {
    for (const ControlText& entry : kControlTexts) {
        SetDlgItemTextW(dialog, entry.control, GetText(entry.textId));
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
    GiveLinkBarImages(linkBar);
    SetControlTexts(dialog);
    ShareLinkBarFont(dialog, linkBar);
}
