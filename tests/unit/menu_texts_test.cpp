#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "appearance/menu_images.h"
#include "appearance/menu_items.h"
#include "common/scoped_handle.h"
#include "dialog/more_options_menu.h"
#include "extras/program_menu.h"
#include "lang/language_menu.h"
#include "tray/tray_menu.h"
#include "unit/support/english_pack.h"

namespace {

// What a screen reader and the menu's letter keys learn of an item: its text and its tick,
// as the system reports them.
struct SystemView {
    std::wstring text;
    bool checked;
    bool operator==(const SystemView& other) const { return text == other.text && checked == other.checked; }
};

std::vector<SystemView> SystemViewOf(HMENU menu) {
    std::vector<SystemView> items;
    for (int at = 0; at < GetMenuItemCount(menu); ++at) {
        wchar_t text[256] = L"";
        GetMenuStringW(menu, static_cast<UINT>(at), text, 256, MF_BYPOSITION);
        items.push_back({text, (GetMenuState(menu, static_cast<UINT>(at), MF_BYPOSITION) & MF_CHECKED) != 0});
    }
    return items;
}

// SetMenuItemInfoW as Windows documents it: an owner-drawn item written with MIIM_TYPE takes
// dwTypeData for the caller's own value, and its text is gone. Wine keeps the text.
BOOL WINAPI WindowsSetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOW info) {
    if (!SetMenuItemInfoW(menu, item, byPosition, info)) {
        return FALSE;
    }
    if ((info->fMask & MIIM_TYPE) != 0 && (info->fType & MFT_OWNERDRAW) != 0) {
        MENUITEMINFOW noText = {};
        noText.cbSize = sizeof(noText);
        noText.fMask = MIIM_STRING;
        SetMenuItemInfoW(menu, item, byPosition, &noText);
    }
    return TRUE;
}

int writesBack = 0;

BOOL WINAPI CountingWindowsSetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOW info) {
    ++writesBack;
    return WindowsSetMenuItemInfo(menu, item, byPosition, info);
}

// Converts `menu` as the bar does when it opens and compares what the system reports before
// and after.
void ExpectOwnerDrawingKeepsWhatTheSystemReports(HMENU menu, const char* name) {
    ASSERT_NE(menu, nullptr) << name;
    const std::vector<SystemView> before = SystemViewOf(menu);
    MenuItemRecords records;
    ASSERT_EQ(records.Convert(menu, CommandImages(), WindowsSetMenuItemInfo), GetMenuItemCount(menu))
        << name << ": every item is drawn by the program";
    // On a monitor of another DPI the menu is written back once, to be measured again.
    writesBack = 0;
    records.MeasureAgain(CountingWindowsSetMenuItemInfo);
    EXPECT_EQ(writesBack, 1) << name;
    const std::vector<SystemView> after = SystemViewOf(menu);
    ASSERT_EQ(after.size(), before.size()) << name;
    int named = 0;
    for (size_t at = 0; at < before.size(); ++at) {
        EXPECT_EQ(after[at].text, before[at].text) << name << ", position " << at;
        EXPECT_EQ(after[at].checked, before[at].checked) << name << ", position " << at;
        named += before[at].text.empty() ? 0 : 1;
    }
    EXPECT_GT(named, 2) << name << ": the texts were there to keep";
}

class MenuTexts : public EnglishPackTest {};

// Hands the language menu to the check instead of showing it.
class CheckingHost final : public LanguageHost {
  public:
    HWND Window() const override { return nullptr; }
    UINT TrackLanguagePopup(HMENU menu) override {
        ExpectOwnerDrawingKeepsWhatTheSystemReports(menu, "language menu");
        ++shown;
        return 0;
    }
    void Retext() override {}
    int shown = 0;
};

}  // namespace

TEST_F(MenuTexts, EveryMenuKeepsItsTextsTicksAndLetterMarksWhenTheProgramDrawsIt) {
    ScopedMenu programMenu(BuildProgramMenu());
    ASSERT_TRUE(programMenu);
    ExpectOwnerDrawingKeepsWhatTheSystemReports(GetSubMenu(programMenu.Get(), 0), "program menu");

    ScopedMenu moreOptions(BuildMoreOptionsMenu());
    ExpectOwnerDrawingKeepsWhatTheSystemReports(moreOptions.Get(), "More options");

    ScopedMenu tray(BuildTrayMenu({true, false, true}));
    ExpectOwnerDrawingKeepsWhatTheSystemReports(tray.Get(), "tray menu");

    CheckingHost host;
    ShowLanguageMenu(host);
    EXPECT_EQ(host.shown, 1);

    // A letter mark stays in the text, where the menu finds the item for Alt+letter.
    ScopedMenu marked(CreatePopupMenu());
    AppendMenuW(marked.Get(), MF_STRING, 1, L"&Open");
    AppendMenuW(marked.Get(), MF_STRING | MF_CHECKED, 2, L"Sa&ve\tCtrl+S");
    AppendMenuW(marked.Get(), MF_STRING, 3, L"E&xit");
    ExpectOwnerDrawingKeepsWhatTheSystemReports(marked.Get(), "marked items");
}
