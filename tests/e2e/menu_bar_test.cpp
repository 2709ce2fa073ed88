// The settings dialog's menu bar as the user meets it: real clicks and keys on the real
// program, judged by what opens where and by the commands that arrive.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>

#include "e2e/support/browser_record.h"
#include "e2e/support/dialog_app.h"
#include "e2e/support/menu_bar_driver.h"
#include "resource_ids.h"

namespace {

using e2e::DialogApp;
using e2e::MenuBarDriver;

constexpr UINT kProgramButton = 40000;
constexpr char kFaqAddress[] = "\"http://www.velmora-soft.com/?seite=faq-Velmora\"";

bool MenuOpen() {
    return e2e::FindOpenMenu() != nullptr;
}

bool WaitForMenu(bool open) {
    return e2e::WaitUntil([&] { return MenuOpen() == open; }, 5000);
}

std::wstring VisibleToolTip() {
    HWND tip = nullptr;
    while ((tip = FindWindowExW(nullptr, tip, L"tooltips_class32", nullptr)) != nullptr) {
        if (IsWindowVisible(tip)) {
            wchar_t text[100] = L"";
            SendMessageW(tip, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
            return text;
        }
    }
    return L"";
}

void Press(WORD key) {
    e2e::PressKeys({key}, 60);
}

class MenuBar : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(app_.Start(), nullptr);
        bar_ = std::make_unique<MenuBarDriver>(app_.Dialog().Window());
        ASSERT_NE(bar_->RightToolbar(), nullptr);
    }
    std::wstring Texts(HWND toolbar) const {
        std::wstring texts;
        for (int index = 0; index < bar_->ButtonCount(toolbar); ++index) {
            texts += bar_->ButtonText(toolbar, index) + L"|";
        }
        return texts;
    }
    // The dialog in front, the cursor off the place of the popups: an item under the cursor
    // would be lit by the slightest move.
    void ActivateForKeys() {
        app_.Dialog().Activate();
        RECT dialog = {};
        GetWindowRect(app_.Dialog().Window(), &dialog);
        e2e::MoveCursor(dialog.right - 12, dialog.bottom - 12);
    }
    bool OpenProgramMenuByKeyboard() {
        ActivateForKeys();
        e2e::PressKeys({VK_MENU, 'P'}, 80);
        return WaitForMenu(true);
    }

    DialogApp app_{{L"lng", L"1"}};
    std::unique_ptr<MenuBarDriver> bar_;
};

TEST_F(MenuBar, ShowsTheProgramMenuAndTheRightHandButtonsAtTheRightEndWithTheFaqTip) {
    EXPECT_EQ(Texts(bar_->Bar()), L"Program|");
    EXPECT_EQ(Texts(bar_->RightToolbar()), L"# LNG|# Exit|# ?|");
    RECT bar = {};
    RECT right = {};
    GetWindowRect(bar_->Bar(), &bar);
    GetWindowRect(bar_->RightToolbar(), &right);
    EXPECT_EQ(right.right, bar.right);
    EXPECT_EQ(bar_->ButtonRect(bar_->Bar(), 0).left, bar.left);

    // "# ?" names the FAQ in its tool tip.
    const RECT faq = bar_->ButtonRect(bar_->RightToolbar(), bar_->IndexOf(bar_->RightToolbar(), IDC_FAQ));
    e2e::MoveCursor((faq.left + faq.right) / 2, (faq.top + faq.bottom) / 2);
    e2e::MoveCursor((faq.left + faq.right) / 2 + 1, (faq.top + faq.bottom) / 2);
    EXPECT_TRUE(e2e::WaitUntil([] { return VisibleToolTip() == L"Velmora-FAQ"; }, 5000)) << VisibleToolTip();
}

TEST_F(MenuBar, AClickOpensTheProgramMenuUnderItsButtonAndASecondClickClosesIt) {
    const RECT button = bar_->ButtonRect(bar_->Bar(), 0);
    bar_->Click(bar_->Bar(), kProgramButton);
    ASSERT_TRUE(WaitForMenu(true));
    const RECT menu = e2e::OpenMenuRect();
    EXPECT_EQ(menu.left, button.left);
    EXPECT_EQ(menu.top, button.bottom);
    EXPECT_TRUE(bar_->Pressed(bar_->Bar(), kProgramButton));
    bar_->Click(bar_->Bar(), kProgramButton);
    EXPECT_TRUE(WaitForMenu(false));
    EXPECT_TRUE(e2e::WaitUntil([&] { return !bar_->Pressed(bar_->Bar(), kProgramButton); }, 2000));
    EXPECT_TRUE(app_.Dialog().Visible());
}

// With one menu on the bar, Left and Right wrap around to the same menu: it opens again with
// its first item lit, whichever item was lit before.
TEST_F(MenuBar, AltLettersOpenTheProgramMenuOrPressAButtonAndTheArrowsWrapAround) {
    e2e::BrowserRecord browser;
    ASSERT_TRUE(browser.Installed());
    ASSERT_TRUE(OpenProgramMenuByKeyboard());
    EXPECT_TRUE(bar_->Pressed(bar_->Bar(), kProgramButton));
    Press(VK_RETURN);
    EXPECT_EQ(browser.NextAddress(), kFaqAddress) << "Alt+P lights the first item, FAQ";

    for (WORD arrow : {VK_LEFT, VK_RIGHT}) {
        ASSERT_TRUE(OpenProgramMenuByKeyboard());
        const RECT program = e2e::OpenMenuRect();
        Press(VK_DOWN);
        Press(VK_DOWN);  // "History"
        Press(arrow);
        ASSERT_TRUE(WaitForMenu(true));
        const RECT reopened = e2e::OpenMenuRect();
        EXPECT_TRUE(EqualRect(&reopened, &program)) << "arrow " << arrow;
        Press(VK_RETURN);
        EXPECT_EQ(browser.NextAddress(), kFaqAddress) << "arrow " << arrow;
    }

    ASSERT_TRUE(OpenProgramMenuByKeyboard());
    Press(VK_ESCAPE);
    EXPECT_TRUE(WaitForMenu(false));
    EXPECT_TRUE(e2e::WaitUntil([&] { return !bar_->Pressed(bar_->Bar(), kProgramButton); }, 2000));
    EXPECT_TRUE(app_.Dialog().Visible());

    // The right-hand buttons answer their first letter: Alt+E is "# Exit".
    ActivateForKeys();
    e2e::PressKeys({VK_MENU, 'E'}, 80);
    EXPECT_EQ(app_.App().Running().WaitForExit(15000), 1);
}

// The tray menu belongs to the dialog, and a letter typed in it reaches the dialog as well.
TEST_F(MenuBar, ALetterTypedInTheTrayMenuPressesNoButton) {
    constexpr UINT kTrayCallback = 32868;
    constexpr WPARAM kIconId = 107;
    PostMessageW(app_.App().WaitForMainWindow(), kTrayCallback, kIconId, WM_RBUTTONDOWN);
    ASSERT_TRUE(WaitForMenu(true));
    PostMessageW(e2e::FindOpenMenu(), WM_CHAR, 'e', 1);  // "# Exit" would answer to it
    PostMessageW(e2e::FindOpenMenu(), WM_KEYDOWN, VK_ESCAPE, 1);
    ASSERT_TRUE(WaitForMenu(false));
    EXPECT_TRUE(app_.Dialog().CatchUp());
    EXPECT_TRUE(app_.App().Running().Running());
}

TEST_F(MenuBar, LanguageButtonOpensTheLanguagesUnderItAndGermanHoldsForTheNextStart) {
    const RECT button = bar_->ButtonRect(bar_->RightToolbar(), bar_->IndexOf(bar_->RightToolbar(), IDM_LANGUAGE_MENU));
    bar_->Click(bar_->RightToolbar(), IDM_LANGUAGE_MENU);
    ASSERT_TRUE(WaitForMenu(true));
    const RECT menu = e2e::OpenMenuRect();
    EXPECT_EQ(menu.top, button.bottom);
    const int screenRight = GetSystemMetrics(SM_CXSCREEN);
    EXPECT_TRUE(menu.left == button.left || menu.right == screenRight) << menu.left << " " << button.left;
    EXPECT_TRUE(bar_->Pressed(bar_->RightToolbar(), IDM_LANGUAGE_MENU));
    Press(VK_DOWN);  // German comes first
    Press(VK_RETURN);
    ASSERT_TRUE(WaitForMenu(false));
    EXPECT_TRUE(e2e::WaitUntil([&] { return app_.Dialog().Text(IDC_DISABLE) == L"Deaktivieren"; }, 5000));
    EXPECT_TRUE(e2e::WaitUntil([&] { return app_.Ini(L"lng") == L"0"; }, 5000)) << app_.Ini(L"lng");
    EXPECT_FALSE(bar_->Pressed(bar_->RightToolbar(), IDM_LANGUAGE_MENU));
    EXPECT_EQ(Texts(bar_->Bar()), L"Programm|");
    EXPECT_EQ(Texts(bar_->RightToolbar()), L"# LNG|# Beenden|# ?|");

    // German is now ticked and greyed: Enter on it changes nothing.
    bar_->Click(bar_->RightToolbar(), IDM_LANGUAGE_MENU);
    ASSERT_TRUE(WaitForMenu(true));
    Press(VK_DOWN);
    Press(VK_RETURN);
    ASSERT_TRUE(WaitForMenu(false));
    app_.Dialog().CatchUp();
    EXPECT_EQ(app_.Ini(L"lng"), L"0");

    ASSERT_NE(app_.Restart(), nullptr);
    EXPECT_EQ(app_.Dialog().Text(IDC_DISABLE), L"Deaktivieren");
    MenuBarDriver restarted(app_.Dialog().Window());
    EXPECT_EQ(restarted.ButtonText(restarted.Bar(), 0), L"Programm");
}

}  // namespace
