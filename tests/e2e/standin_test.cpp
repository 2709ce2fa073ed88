// The desktop stand-in keeps the shell windows contract Velmora relies on: these tests prove
// it under Wine, so that the other end-to-end suites can trust the stand-in.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "e2e/support/desktop_standin.h"
#include "e2e/support/e2e_support.h"

namespace {

constexpr DWORD kMenuTimeoutMs = 5000;

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = L"";
    GetClassNameW(window, name, 256);
    return name;
}

HWND WindowAt(POINT p) {
    return WindowFromPoint(p);
}

RECT RectOf(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Visible popup menus, top first.
std::vector<HWND> OpenMenus() {
    std::vector<HWND> menus;
    for (HWND window = GetTopWindow(nullptr); window != nullptr; window = GetWindow(window, GW_HWNDNEXT)) {
        if (IsWindowVisible(window) && ClassOf(window) == L"#32768") {
            menus.push_back(window);
        }
    }
    return menus;
}

bool WaitForOpenMenus(size_t count) {
    return e2e::WaitUntil([count] { return OpenMenus().size() == count; }, kMenuTimeoutMs);
}

// True when no visible window lies below "Program Manager".
bool ProgmanAtBottom() {
    for (HWND window = GetWindow(e2e::DesktopStandin::Progman(), GW_HWNDNEXT); window != nullptr;
         window = GetWindow(window, GW_HWNDNEXT)) {
        if (IsWindowVisible(window)) {
            return false;
        }
    }
    return true;
}

HWND EditorOf(HWND listView) {
    return reinterpret_cast<HWND>(SendMessageW(listView, LVM_GETEDITCONTROL, 0, 0));
}

int SelectedIcon(HWND listView) {
    return static_cast<int>(SendMessageW(listView, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

class DesktopStandin : public ::testing::Test {
  protected:
    void TearDown() override { standin_.Stop(); }

    void OpenDesktopMenuAt(POINT p) {
        ASSERT_TRUE(e2e::MoveCursor(p.x, p.y));
        e2e::HoldRightButton();
        ASSERT_TRUE(WaitForOpenMenus(1));
    }

    void CloseMenusWithEscape() {
        while (!OpenMenus().empty()) {
            size_t open = OpenMenus().size();
            e2e::PressKeys({VK_ESCAPE});
            ASSERT_TRUE(WaitForOpenMenus(open - 1));
        }
    }

  public:
    // The parts of the runs below, each named after what it shows. A run starts one stand-in
    // and goes through its parts in turn, stopping at the first fatal failure.
    void ProgramManagerHoldsTheDesktopViewAndItsIcons();
    void StaysBelowWineTaskbarWhileTheCursorRestsOnIt();
    void ToggleCommandFlipsHideIconsAndTheListView();
    void LabelEditorIsReportedWhileALabelIsEdited();
    void NewSubmenuOpensASubmenuOfItsOwn();
    void RightClickOnTheEmptyDesktopOpensAMenuAtTheCursor();
    void IconsSitAtTheirKnownPlacesEvenWhenShownLate();
    void SecondaryTaskbarsComeAndGoOnRequest();
    void RestartReplacesEveryShellWindow();
    void RestartAndQuitWhileTheMenuIsOpenCloseTheMenuFirst();

  protected:
    using Part = void (DesktopStandin::*)();
    void RunParts(std::initializer_list<std::pair<const char*, Part>> parts) {
        for (const auto& [name, part] : parts) {
            SCOPED_TRACE(name);
            (this->*part)();
            if (HasFatalFailure()) {
                return;
            }
        }
    }

    e2e::DesktopStandin standin_;
};

void DesktopStandin::ProgramManagerHoldsTheDesktopViewAndItsIcons() {
    HWND progman = FindWindowW(nullptr, L"Program Manager");
    ASSERT_NE(progman, nullptr);
    EXPECT_EQ(ClassOf(progman), L"Progman");
    EXPECT_TRUE(SameRect(RectOf(progman), RECT{0, 0, 1280, 800}));
    HWND defView = FindWindowExW(progman, nullptr, L"SHELLDLL_DefView", nullptr);
    ASSERT_NE(defView, nullptr);
    HWND listView = FindWindowExW(defView, nullptr, L"SysListView32", nullptr);
    ASSERT_NE(listView, nullptr);
    EXPECT_TRUE(IsWindowVisible(listView));
    EXPECT_NE(GetWindowLongW(listView, GWL_STYLE) & LVS_EDITLABELS, 0);
    EXPECT_EQ(SendMessageW(listView, LVM_GETITEMCOUNT, 0, 0), e2e::kIconCount);
    EXPECT_EQ(FindWindowExW(nullptr, nullptr, L"WorkerW", nullptr), nullptr);
    EXPECT_TRUE(ProgmanAtBottom());
    // The list view covers the whole desktop, icons and empty space alike.
    EXPECT_EQ(WindowAt(e2e::DesktopStandin::EmptyDesktopPoint()), listView);
    EXPECT_EQ(WindowAt(e2e::DesktopStandin::IconPoint(0)), listView);
}

// Wine moves a window up whenever the X pointer passes over it; the desktop must not climb
// over the windows that were there before it.
void DesktopStandin::StaysBelowWineTaskbarWhileTheCursorRestsOnIt() {
    HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
    ASSERT_NE(tray, nullptr) << "no Wine taskbar in this desktop";
    ASSERT_TRUE(IsWindowVisible(tray));
    RECT trayRect = RectOf(tray);
    POINT onTray = {(trayRect.left + trayRect.right) / 2, (trayRect.top + trayRect.bottom) / 2};
    ASSERT_TRUE(e2e::MoveCursor(onTray.x, onTray.y));
    // Watched for a while: a wrong order would show within a few milliseconds.
    bool alwaysTray = !e2e::WaitUntil([&] { return GetAncestor(WindowAt(onTray), GA_ROOT) != tray; }, 500);
    EXPECT_TRUE(alwaysTray);
    EXPECT_TRUE(ProgmanAtBottom());
}

void DesktopStandin::ToggleCommandFlipsHideIconsAndTheListView() {
    HWND defView = e2e::DesktopStandin::DefView();
    HWND listView = e2e::DesktopStandin::ListView();
    ASSERT_FALSE(e2e::DesktopStandin::ShellHideIconsSetting());

    SendMessageW(defView, WM_COMMAND, e2e::kToggleDesktopIconsCommand, 0);
    EXPECT_TRUE(e2e::DesktopStandin::ShellHideIconsSetting());
    EXPECT_FALSE(IsWindowVisible(listView));
    // With the icons hidden the empty desktop is the view itself.
    EXPECT_EQ(WindowAt(e2e::DesktopStandin::EmptyDesktopPoint()), defView);

    SendMessageW(defView, WM_COMMAND, e2e::kToggleDesktopIconsCommand, 0);
    EXPECT_FALSE(e2e::DesktopStandin::ShellHideIconsSetting());
    EXPECT_TRUE(IsWindowVisible(listView));
}

void DesktopStandin::LabelEditorIsReportedWhileALabelIsEdited() {
    HWND listView = e2e::DesktopStandin::ListView();
    ASSERT_EQ(EditorOf(listView), nullptr);

    // Started from another process, as a test does.
    SendMessageW(listView, LVM_EDITLABELW, 3, 0);
    HWND editor = EditorOf(listView);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(ClassOf(editor), L"Edit");
    SendMessageW(listView, LVM_CANCELEDITLABEL, 0, 0);
    EXPECT_EQ(EditorOf(listView), nullptr);

    // Started by the user: a click on an icon, then F2; Escape ends it.
    POINT p = e2e::DesktopStandin::IconPoint(4);
    ASSERT_TRUE(e2e::MoveCursor(p.x, p.y));
    e2e::HoldLeftButton();
    ASSERT_TRUE(e2e::WaitUntil([&] { return SelectedIcon(listView) == 4; }, kMenuTimeoutMs));
    e2e::PressKeys({VK_F2});
    EXPECT_TRUE(e2e::WaitUntil([&] { return EditorOf(listView) != nullptr; }, kMenuTimeoutMs));
    e2e::PressKeys({VK_ESCAPE});
    EXPECT_TRUE(e2e::WaitUntil([&] { return EditorOf(listView) == nullptr; }, kMenuTimeoutMs));
}

void DesktopStandin::NewSubmenuOpensASubmenuOfItsOwn() {
    OpenDesktopMenuAt(e2e::DesktopStandin::EmptyDesktopPoint());
    // View, Sort by, Refresh, New; into New; Folder, Shortcut, Document; into Document.
    e2e::PressKeys({VK_DOWN});
    e2e::PressKeys({VK_DOWN});
    e2e::PressKeys({VK_DOWN});
    e2e::PressKeys({VK_DOWN});
    e2e::PressKeys({VK_RIGHT});
    ASSERT_TRUE(WaitForOpenMenus(2));
    e2e::PressKeys({VK_DOWN});
    e2e::PressKeys({VK_DOWN});
    e2e::PressKeys({VK_RIGHT});
    ASSERT_TRUE(WaitForOpenMenus(3));
    // Each submenu's corner lies over the menu it came from, not over the desktop.
    std::vector<HWND> menus = OpenMenus();
    RECT innermost = RectOf(menus[0]);
    EXPECT_EQ(ClassOf(WindowAt(POINT{innermost.left - 1, innermost.top - 1})), L"#32768");
    CloseMenusWithEscape();
}

void DesktopStandin::RightClickOnTheEmptyDesktopOpensAMenuAtTheCursor() {
    for (bool iconsHidden : {false, true}) {
        SCOPED_TRACE(iconsHidden ? "icons hidden" : "icons shown");
        if (iconsHidden) {
            SendMessageW(e2e::DesktopStandin::DefView(), WM_COMMAND, e2e::kToggleDesktopIconsCommand, 0);
        }
        POINT at = e2e::DesktopStandin::EmptyDesktopPoint();
        OpenDesktopMenuAt(at);
        RECT menu = RectOf(OpenMenus().front());
        EXPECT_EQ(menu.left, at.x);
        EXPECT_EQ(menu.top, at.y);
        // What tells Velmora that the menu belongs to the desktop.
        HWND corner = WindowAt(POINT{menu.left - 1, menu.top - 1});
        EXPECT_EQ(corner, iconsHidden ? e2e::DesktopStandin::DefView() : e2e::DesktopStandin::ListView());
        CloseMenusWithEscape();
        // Opening the menu brought the desktop to the foreground, not to the top.
        EXPECT_TRUE(ProgmanAtBottom());
    }
}

void DesktopStandin::IconsSitAtTheirKnownPlacesEvenWhenShownLate() {
    // Hidden from the start, the list view is shown for the first time here.
    HWND listView = e2e::DesktopStandin::ListView();
    SendMessageW(e2e::DesktopStandin::DefView(), WM_COMMAND, e2e::kToggleDesktopIconsCommand, 0);
    ASSERT_TRUE(IsWindowVisible(listView));
    for (int index : {0, e2e::kIconsPerColumn - 1, e2e::kIconsPerColumn, e2e::kIconCount - 1}) {
        POINT p = e2e::DesktopStandin::IconPoint(index);
        ASSERT_TRUE(e2e::MoveCursor(p.x, p.y));
        e2e::HoldLeftButton();
        EXPECT_TRUE(e2e::WaitUntil([&] { return SelectedIcon(listView) == index; }, kMenuTimeoutMs))
            << "icon " << index;
    }
    // A click on the empty desktop selects nothing.
    POINT empty = e2e::DesktopStandin::EmptyDesktopPoint();
    ASSERT_TRUE(e2e::MoveCursor(empty.x, empty.y));
    e2e::HoldLeftButton();
    EXPECT_TRUE(e2e::WaitUntil([&] { return SelectedIcon(listView) == -1; }, kMenuTimeoutMs));
}

void DesktopStandin::SecondaryTaskbarsComeAndGoOnRequest() {
    std::vector<HWND> taskbars = e2e::DesktopStandin::SecondaryTaskbars();
    ASSERT_EQ(taskbars.size(), 1u);
    EXPECT_TRUE(IsWindowVisible(taskbars[0]));
    EXPECT_TRUE(SameRect(RectOf(taskbars[0]), e2e::kDefaultSecondaryTaskbarRects[0]));

    ASSERT_TRUE(standin_.SetSecondaryTaskbars(2));
    EXPECT_EQ(e2e::DesktopStandin::SecondaryTaskbars().size(), 2u);
    RECT moved = {600, 300, 1000, 340};
    ASSERT_TRUE(standin_.SetSecondaryTaskbarRect(1, moved));
    bool found = false;
    for (HWND taskbar : e2e::DesktopStandin::SecondaryTaskbars()) {
        found = found || SameRect(RectOf(taskbar), moved);
    }
    EXPECT_TRUE(found);

    EXPECT_FALSE(standin_.SetSecondaryTaskbars(e2e::kMaxSecondaryTaskbars + 1));
    EXPECT_FALSE(standin_.SetSecondaryTaskbarRect(0, RECT{10, 10, 5, 5}));
    ASSERT_TRUE(standin_.SetSecondaryTaskbars(0));
    EXPECT_TRUE(e2e::DesktopStandin::SecondaryTaskbars().empty());
}

void DesktopStandin::RestartReplacesEveryShellWindow() {
    HWND oldProgman = e2e::DesktopStandin::Progman();
    HWND oldListView = e2e::DesktopStandin::ListView();
    HWND oldTaskbar = e2e::DesktopStandin::SecondaryTaskbars().at(0);

    ASSERT_TRUE(standin_.Restart());
    EXPECT_FALSE(IsWindow(oldProgman));
    EXPECT_FALSE(IsWindow(oldListView));
    EXPECT_FALSE(IsWindow(oldTaskbar));
    EXPECT_NE(e2e::DesktopStandin::ListView(), nullptr);
    EXPECT_EQ(e2e::DesktopStandin::SecondaryTaskbars().size(), 1u);

    // With a gap the desktop is gone for a while, as while Explorer restarts.
    ASSERT_TRUE(standin_.BeginRestart(1000));
    EXPECT_TRUE(e2e::WaitUntil([] { return e2e::DesktopStandin::Progman() == nullptr; }, kMenuTimeoutMs));
    ASSERT_TRUE(standin_.WaitUntilReady());
    EXPECT_NE(e2e::DesktopStandin::ListView(), nullptr);
}

void DesktopStandin::RestartAndQuitWhileTheMenuIsOpenCloseTheMenuFirst() {
    OpenDesktopMenuAt(e2e::DesktopStandin::EmptyDesktopPoint());
    HWND oldView = e2e::DesktopStandin::DefView();
    ASSERT_TRUE(standin_.Restart());
    EXPECT_TRUE(OpenMenus().empty());
    EXPECT_FALSE(IsWindow(oldView));
    EXPECT_NE(e2e::DesktopStandin::ListView(), nullptr);

    OpenDesktopMenuAt(e2e::DesktopStandin::EmptyDesktopPoint());
    standin_.Stop();
    EXPECT_EQ(standin_.LastExitCode(), 0);
    EXPECT_TRUE(OpenMenus().empty());
}

// The desktop in the Program Manager layout: its windows and icons, Wine's taskbar staying above
// it, the shell's toggle, a label's editor, and its context menu with its submenus, with the
// icons shown and hidden.
TEST_F(DesktopStandin, ProgramManagerDesktopHoldsItsIconsAndAnswersToggleLabelEditingAndItsMenus) {
    ASSERT_TRUE(standin_.Start());
    RunParts({{"view and icons", &DesktopStandin::ProgramManagerHoldsTheDesktopViewAndItsIcons},
              {"below Wine's taskbar", &DesktopStandin::StaysBelowWineTaskbarWhileTheCursorRestsOnIt},
              {"toggle", &DesktopStandin::ToggleCommandFlipsHideIconsAndTheListView},
              {"label editor", &DesktopStandin::LabelEditorIsReportedWhileALabelIsEdited},
              {"submenus", &DesktopStandin::NewSubmenuOpensASubmenuOfItsOwn},
              {"context menu", &DesktopStandin::RightClickOnTheEmptyDesktopOpensAMenuAtTheCursor}});
}

// Started with the shell's setting to hide the icons, the stand-in hides them; shown for the
// first time late, they sit at their known places; its end clears the setting.
TEST_F(DesktopStandin, StartsWithIconsHiddenWhenTheShellSettingSaysSoShownLateTheySitInPlaceAndStopClears) {
    ASSERT_TRUE(standin_.Start({.shellHideIcons = true}));
    EXPECT_NE(e2e::DesktopStandin::ListView(), nullptr);
    EXPECT_FALSE(e2e::DesktopStandin::IconsVisible());
    RunParts({{"shown late", &DesktopStandin::IconsSitAtTheirKnownPlacesEvenWhenShownLate}});
    // Hidden again through the shell, so that the end has a setting to clear.
    SendMessageW(e2e::DesktopStandin::DefView(), WM_COMMAND, e2e::kToggleDesktopIconsCommand, 0);
    ASSERT_TRUE(e2e::DesktopStandin::ShellHideIconsSetting());
    standin_.Stop();
    EXPECT_FALSE(e2e::DesktopStandin::ShellHideIconsSetting());
    EXPECT_EQ(e2e::DesktopStandin::Progman(), nullptr);
}

// Secondary taskbars on request; a restart, with and without a gap, replaces every window;
// a restart and the end while the context menu is open close the menu first.
TEST_F(DesktopStandin, SecondaryTaskbarsComeAndGoAndRestartsReplaceEveryWindowAlsoWithTheMenuOpen) {
    ASSERT_TRUE(standin_.Start({.secondaryTaskbars = 1}));
    RunParts({{"secondary taskbars", &DesktopStandin::SecondaryTaskbarsComeAndGoOnRequest}});
    ASSERT_TRUE(standin_.SetSecondaryTaskbars(1));
    RunParts({{"restart", &DesktopStandin::RestartReplacesEveryShellWindow},
              {"restart and quit with the menu open", &DesktopStandin::RestartAndQuitWhileTheMenuIsOpenCloseTheMenuFirst}});
}

TEST_F(DesktopStandin, WorkerWLayoutPutsTheViewUnderTheSecondWorker) {
    ASSERT_TRUE(standin_.Start({.layout = e2e::Layout::kWorkerW}));
    HWND progman = FindWindowW(nullptr, L"Program Manager");
    ASSERT_NE(progman, nullptr);
    EXPECT_EQ(FindWindowExW(progman, nullptr, L"SHELLDLL_DefView", nullptr), nullptr);
    // The walk Velmora makes: top-level workers in z-order, the first one with a view wins.
    HWND first = FindWindowExW(nullptr, nullptr, L"WorkerW", nullptr);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(FindWindowExW(first, nullptr, L"SHELLDLL_DefView", nullptr), nullptr);
    HWND second = FindWindowExW(nullptr, first, L"WorkerW", nullptr);
    ASSERT_NE(second, nullptr);
    HWND defView = FindWindowExW(second, nullptr, L"SHELLDLL_DefView", nullptr);
    ASSERT_NE(defView, nullptr);
    HWND listView = FindWindowExW(defView, nullptr, L"SysListView32", nullptr);
    ASSERT_NE(listView, nullptr);
    EXPECT_EQ(FindWindowExW(nullptr, second, L"WorkerW", nullptr), nullptr);
    // The view's worker lies above "Program Manager", and the empty worker hides nothing.
    EXPECT_EQ(WindowAt(e2e::DesktopStandin::EmptyDesktopPoint()), listView);
    EXPECT_TRUE(ProgmanAtBottom());

    ASSERT_TRUE(standin_.SetLayout(e2e::Layout::kProgman));
    EXPECT_NE(FindWindowExW(e2e::DesktopStandin::Progman(), nullptr, L"SHELLDLL_DefView", nullptr), nullptr);
    EXPECT_TRUE(e2e::DesktopStandin::Workers().empty());
}

// Windows 11 24H2: the view and the wallpaper's worker side by side under "Program Manager",
// the view on top; no top-level worker. Velmora's lookups find the same view and list view.
TEST_F(DesktopStandin, Layout24H2PutsTheWallpaperWorkerBesideTheViewUnderProgramManager) {
    ASSERT_TRUE(standin_.Start({.layout = e2e::Layout::kProgman24H2}));
    HWND progman = e2e::DesktopStandin::Progman();
    ASSERT_NE(progman, nullptr);
    EXPECT_EQ(ClassOf(progman), L"Progman");
    HWND defView = GetWindow(progman, GW_CHILD);
    ASSERT_NE(defView, nullptr);
    EXPECT_EQ(ClassOf(defView), L"SHELLDLL_DefView");
    EXPECT_EQ(e2e::DesktopStandin::DefView(), defView);
    HWND worker = GetWindow(defView, GW_HWNDNEXT);
    ASSERT_NE(worker, nullptr);
    EXPECT_EQ(ClassOf(worker), L"WorkerW");
    EXPECT_EQ(GetParent(worker), progman);
    EXPECT_TRUE(IsWindowVisible(worker));
    EXPECT_TRUE(SameRect(RectOf(worker), RectOf(defView)));
    EXPECT_EQ(FindWindowExW(progman, worker, nullptr, nullptr), nullptr) << "nothing after the worker";
    EXPECT_TRUE(e2e::DesktopStandin::Workers().empty());
    HWND listView = e2e::DesktopStandin::ListView();
    ASSERT_NE(listView, nullptr);
    EXPECT_EQ(GetParent(listView), defView);
    EXPECT_EQ(WindowAt(e2e::DesktopStandin::EmptyDesktopPoint()), listView);
    EXPECT_TRUE(ProgmanAtBottom());

    // A restart builds the same layout again, with new windows.
    ASSERT_TRUE(standin_.Restart());
    EXPECT_NE(e2e::DesktopStandin::Progman(), progman);
    EXPECT_EQ(ClassOf(GetWindow(GetWindow(e2e::DesktopStandin::Progman(), GW_CHILD), GW_HWNDNEXT)), L"WorkerW");
}

// The e2e_Layout24H2 run asks for the Program Manager layout and gets 24H2's: a worker beside
// the view. Every other run gets none.
TEST_F(DesktopStandin, ProgramManagerLayoutIsPlayedAsTheEnvironmentSays) {
    ASSERT_TRUE(standin_.Start({.layout = e2e::Layout::kProgman}));
    const bool worker = FindWindowExW(e2e::DesktopStandin::Progman(), nullptr, L"WorkerW", nullptr) != nullptr;
    EXPECT_EQ(worker, e2e::EffectiveLayout(e2e::Layout::kProgman) == e2e::Layout::kProgman24H2);
    EXPECT_NE(e2e::DesktopStandin::ListView(), nullptr);
}

}  // namespace
