// The notification-area icon under Wine's taskbar, which hosts notification icons. A test
// probes the real exe's icon with NIM_MODIFY on (its main window, 107), which the shell
// accepts only for an icon it has, and looks at the icons Wine's taskbar draws.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "e2e/support/desktop_standin.h"
#include "e2e/support/dialog_app.h"
#include "resource_ids.h"

namespace {

using e2e::DesktopStandin;
using e2e::DialogApp;
using e2e::WaitUntil;

constexpr UINT kTrayCallback = WM_APP + 100;  // 32868
constexpr UINT kIconId = 107;

NOTIFYICONDATAW Record(HWND mainWindow) {
    NOTIFYICONDATAW record = {};
    record.cbSize = NOTIFYICONDATAW_V2_SIZE;
    record.hWnd = mainWindow;
    record.uID = kIconId;
    record.uFlags = NIF_MESSAGE;
    record.uCallbackMessage = kTrayCallback;
    return record;
}

bool IconPresent(HWND mainWindow) {
    NOTIFYICONDATAW record = Record(mainWindow);
    return Shell_NotifyIconW(NIM_MODIFY, &record) != 0;
}

// What a restarting shell does to every icon.
void LoseIcon(HWND mainWindow) {
    NOTIFYICONDATAW record = Record(mainWindow);
    Shell_NotifyIconW(NIM_DELETE, &record);
}

HWND Taskbar() {
    return FindWindowW(L"Shell_TrayWnd", nullptr);
}

// Wine's taskbar draws its icons from the right end leftwards, the newest leftmost, each in a
// slot of the small icon size plus a 2-pixel border on either side.
struct IconSlots {
    RECT bar = {};
    int slot = GetSystemMetrics(SM_CXSMICON) + 4;
    IconSlots() { GetWindowRect(Taskbar(), &bar); }
    RECT Slot(int index) const {
        return {bar.right - slot * (index + 1), bar.top, bar.right - slot * index, bar.bottom};
    }
};

// Calls `pixel` for every pixel of the slot that differs from the taskbar's background.
template <typename F>
int ForEachDrawnPixel(HDC screen, const RECT& slot, COLORREF background, F pixel) {
    int drawn = 0;
    for (int y = slot.top + 2; y < slot.bottom - 2; ++y) {
        for (int x = slot.left + 2; x < slot.right - 2; ++x) {
            COLORREF colour = GetPixel(screen, x, y);
            if (colour != background) {
                ++drawn;
                pixel(colour);
            }
        }
    }
    return drawn;
}

struct DrawnIcons {
    int count = 0;
    bool newestGrey = false;
};

DrawnIcons LookAtDrawnIcons() {
    IconSlots slots;
    HDC screen = GetDC(nullptr);
    COLORREF background = GetPixel(screen, slots.bar.right - 1, (slots.bar.top + slots.bar.bottom) / 2);
    DrawnIcons icons;
    auto any = [](COLORREF) {};
    while (icons.count < 20 && ForEachDrawnPixel(screen, slots.Slot(icons.count), background, any) > 0) {
        ++icons.count;
    }
    if (icons.count > 0) {
        icons.newestGrey = true;
        ForEachDrawnPixel(screen, slots.Slot(icons.count - 1), background, [&](COLORREF c) {
            icons.newestGrey = icons.newestGrey && GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c);
        });
    }
    ReleaseDC(nullptr, screen);
    return icons;
}

// A real press on the newest icon in Wine's taskbar.
void PressNewestIcon(bool left) {
    RECT slot = IconSlots().Slot(LookAtDrawnIcons().count - 1);
    ASSERT_TRUE(e2e::MoveCursor((slot.left + slot.right) / 2, (slot.top + slot.bottom) / 2));
    if (left) {
        e2e::HoldLeftButton();
    } else {
        e2e::HoldRightButton();
    }
}

// Menu items counted upwards from the last one, which the End key selects.
enum class TrayItem { kHideEverything = 0, kShowEverything, kExit, kPreferences, kToTray, kHidePermanently, kDisable };

// Opens the tray menu as the shell would after a right press, and picks `item` with the
// keyboard. The keys are posted to the menu, in order: real key presses under load can go
// astray, and a lost Up turns "Preferences" into "Exit".
bool ChooseTrayItem(HWND mainWindow, TrayItem item) {
    PostMessageW(mainWindow, kTrayCallback, kIconId, WM_RBUTTONDOWN);
    HWND menu = nullptr;
    if (!WaitUntil([&] { return (menu = e2e::FindOpenMenu()) != nullptr; }, 5000)) {
        return false;
    }
    auto press = [&](WPARAM key) {
        PostMessageW(menu, WM_KEYDOWN, key, 1);
        PostMessageW(menu, WM_KEYUP, key, 1 | 0xC0000000);
    };
    press(VK_END);
    for (int up = 0; up < static_cast<int>(item); ++up) {
        press(VK_UP);
    }
    press(VK_RETURN);
    return WaitUntil([] { return e2e::FindOpenMenu() == nullptr; }, 5000);
}

bool InFront(HWND dialog) {
    return IsWindowVisible(dialog) && GetForegroundWindow() == dialog;
}

}  // namespace

TEST(Tray, IconIsThereFromTheStartAlsoInTheBackgroundAndGoneAtEveryEnd) {
    {
        DialogApp app;
        ASSERT_NE(app.Start(), nullptr);
        HWND mainWindow = app.App().WaitForMainWindow();
        EXPECT_TRUE(WaitUntil([&] { return IconPresent(mainWindow); }, 5000));
        EXPECT_EQ(app.App().EndWithExitWord(), 0);
        EXPECT_FALSE(IconPresent(mainWindow)) << "the exit word";
    }
    DialogApp app;
    ASSERT_NE(app.Start(L"-bg", {}, true), nullptr);
    HWND mainWindow = app.App().WaitForMainWindow();
    EXPECT_TRUE(WaitUntil([&] { return IconPresent(mainWindow); }, 5000));
    EXPECT_FALSE(app.Dialog().Visible());
    PostMessageW(mainWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(app.App().Running().WaitForExit(10000), 0);
    EXPECT_FALSE(IconPresent(mainWindow)) << "the main window closed";
}

// Even a topmost dialog comes back from the tray as an ordinary window in front.
TEST(Tray, LeftPressOnTheIconHidesTheDialogAndBringsItBackInFrontNotTopmost) {
    DialogApp app({{L"topmost", L"1"}});
    ASSERT_NE(app.Start(), nullptr);
    HWND mainWindow = app.App().WaitForMainWindow();
    HWND dialog = app.Dialog().Window();
    ASSERT_TRUE(WaitUntil([&] { return IconPresent(mainWindow) && LookAtDrawnIcons().count > 0; }, 5000));
    PressNewestIcon(true);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }, 5000));
    // A second press within the double-click time would be a double click, which does nothing.
    Sleep(GetDoubleClickTime() + 100);
    PressNewestIcon(true);
    // In front and then no longer topmost: the two come one after the other.
    auto topmost = [&] { return (GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
    EXPECT_TRUE(WaitUntil([&] { return InFront(dialog) && !topmost(); }, 5000));

    // Releases, double clicks and moves over the icon do nothing; each is handled when its
    // send returns.
    for (LPARAM ignored : {WM_LBUTTONUP, WM_RBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MOUSEMOVE}) {
        DWORD_PTR answer = 0;
        EXPECT_NE(SendMessageTimeoutW(mainWindow, kTrayCallback, kIconId, ignored, SMTO_BLOCK, 3000, &answer), 0)
            << ignored;
        EXPECT_TRUE(IsWindowVisible(dialog)) << ignored;
        EXPECT_EQ(e2e::FindOpenMenu(), nullptr) << ignored;
    }
}

namespace {

// The tray menu beside the desktop stand-in, whose icons and secondary taskbar it hides.
class TrayMenu : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(standin_.Start({e2e::Layout::kProgman, 0, false}));
        ASSERT_TRUE(e2e::MoveCursor(1100, 300));
    }
    void TearDown() override {
        ShowWindow(Taskbar(), SW_SHOW);
        standin_.Stop();
    }

    static bool TaskbarVisible() { return IsWindowVisible(Taskbar()) != 0; }

    DesktopStandin standin_;
};

}  // namespace

TEST_F(TrayMenu, SwitchesDisableWithoutASecondIconAndHidesAndShowsEverything) {
    DialogApp app({{L"auto_hide_icons_sec", L"600"}, {L"hide_taskbar", L"1"}});
    ASSERT_NE(app.Start(), nullptr);
    HWND mainWindow = app.App().WaitForMainWindow();
    ASSERT_TRUE(WaitUntil([&] { return IconPresent(mainWindow) && LookAtDrawnIcons().count > 0; }, 5000));
    const int icons = LookAtDrawnIcons().count;
    EXPECT_FALSE(LookAtDrawnIcons().newestGrey);

    for (const wchar_t* disabled : {L"1", L"0"}) {
        SCOPED_TRACE(disabled);
        ASSERT_TRUE(ChooseTrayItem(mainWindow, TrayItem::kDisable));
        EXPECT_TRUE(WaitUntil([&] { return app.Ini(L"m_disable") == disabled; }, 5000));
        EXPECT_EQ(app.Dialog().Checked(IDC_DISABLE), disabled[0] == L'1');
        // Redrawn, not only blank for a moment.
        EXPECT_TRUE(WaitUntil(
            [&] {
                const DrawnIcons drawn = LookAtDrawnIcons();
                return drawn.count == icons && drawn.newestGrey == (disabled[0] == L'1');
            },
            5000));
        EXPECT_EQ(LookAtDrawnIcons().count, icons) << "modified, not added again";
        EXPECT_TRUE(IconPresent(mainWindow));
    }

    ASSERT_TRUE(ChooseTrayItem(mainWindow, TrayItem::kHideEverything));
    EXPECT_TRUE(WaitUntil([] { return !DesktopStandin::IconsVisible() && !TaskbarVisible(); }, 5000));
    ASSERT_TRUE(ChooseTrayItem(mainWindow, TrayItem::kShowEverything));
    EXPECT_TRUE(WaitUntil([] { return DesktopStandin::IconsVisible() && TaskbarVisible(); }, 5000));

    ASSERT_TRUE(app.Dialog().Toggle(IDC_HIDE_TASKBAR));
    ASSERT_TRUE(ChooseTrayItem(mainWindow, TrayItem::kHideEverything));
    EXPECT_TRUE(WaitUntil([] { return !DesktopStandin::IconsVisible(); }, 5000));
    EXPECT_TRUE(TaskbarVisible()) << "without hide_taskbar the taskbar stays";
    ASSERT_TRUE(ChooseTrayItem(mainWindow, TrayItem::kShowEverything));
    EXPECT_TRUE(WaitUntil([] { return DesktopStandin::IconsVisible(); }, 5000));
}

TEST_F(TrayMenu, ShowsAndHidesTheDialogWhichHidesToTheTrayAndExitEndsTheProgram) {
    DialogApp app({{L"auto_hide_icons_sec", L"1"}, {L"hide_taskbar", L"1"}});
    ASSERT_NE(app.Start(), nullptr);
    HWND mainWindow = app.App().WaitForMainWindow();
    HWND dialog = app.Dialog().Window();
    ASSERT_TRUE(WaitUntil([&] { return IconPresent(mainWindow); }, 5000));

    ASSERT_TRUE(ChooseTrayItem(mainWindow, TrayItem::kToTray));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }, 5000));
    ASSERT_TRUE(ChooseTrayItem(mainWindow, TrayItem::kToTray));
    EXPECT_TRUE(WaitUntil([&] { return InFront(dialog); }, 5000));
    PostMessageW(mainWindow, kTrayCallback, kIconId, WM_LBUTTONDOWN);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }, 5000));
    ASSERT_TRUE(ChooseTrayItem(mainWindow, TrayItem::kPreferences));
    EXPECT_TRUE(WaitUntil([&] { return InFront(dialog); }, 5000));

    // The close box, minimising and the program menu's "To-Tray" all leave the program in the
    // tray.
    struct Way {
        const char* name;
        UINT message;
        WPARAM wParam;
    };
    for (const Way& way : {Way{"close", WM_CLOSE, 0}, Way{"minimise", WM_SYSCOMMAND, SC_MINIMIZE},
                           Way{"To-Tray", WM_COMMAND, IDM_TO_TRAY}}) {
        SCOPED_TRACE(way.name);
        ShowWindow(dialog, SW_SHOW);
        app.Dialog().Activate();
        // A posted message overtakes the click's input: minimising needs the dialog active first.
        ASSERT_TRUE(WaitUntil([&] { return InFront(dialog); }, 5000));
        PostMessageW(dialog, way.message, way.wParam, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }, 5000));
        EXPECT_TRUE(app.App().Running().Running());
        EXPECT_TRUE(IconPresent(mainWindow));
    }

    ASSERT_TRUE(WaitUntil([] { return !DesktopStandin::IconsVisible() && !TaskbarVisible(); }, 10000));
    ASSERT_TRUE(ChooseTrayItem(mainWindow, TrayItem::kExit));
    EXPECT_EQ(app.App().Running().WaitForExit(10000), 1);
    EXPECT_FALSE(IconPresent(mainWindow));
    EXPECT_TRUE(DesktopStandin::IconsVisible());
    EXPECT_TRUE(TaskbarVisible());
}

namespace {

int OpenMenus() {
    int count = 0;
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            wchar_t className[16] = {};
            GetClassNameW(window, className, 16);
            if (IsWindowVisible(window) && lstrcmpW(className, L"#32768") == 0) {
                ++*reinterpret_cast<int*>(param);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

}  // namespace

// A held menu key or a flaky touch screen sends the menu request again and again; the menu's
// own loop hands each one on while it is open.
TEST(Tray, ABurstOfMenuRequestsOpensOneMenu) {
    DialogApp app;
    ASSERT_NE(app.Start(), nullptr);
    HWND mainWindow = app.App().WaitForMainWindow();
    for (int i = 0; i < 200; ++i) {
        PostMessageW(mainWindow, kTrayCallback, MAKEWPARAM(700, 300), MAKELPARAM(WM_CONTEXTMENU, kIconId));
    }
    HWND menu = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (menu = e2e::FindOpenMenu()) != nullptr; }, 5000));
    // Each request is dispatched inside the first menu's loop; the last has been when a
    // message posted after them has.
    ASSERT_TRUE(app.Dialog().CatchUp(10000));
    EXPECT_EQ(OpenMenus(), 1);
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_TRUE(WaitUntil([] { return OpenMenus() == 0; }, 5000));
    ASSERT_TRUE(app.Dialog().CatchUp());
    EXPECT_EQ(OpenMenus(), 0) << "a menu waited under the first";
}

namespace {

constexpr int kHotKeyItem = 6;  // of "More options", separators not counted

// A window of the test's own in front, so that no window of the program is there by chance.
class TestWindowInFront {
  public:
    TestWindowInFront() {
        window_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 50, 50, 200, 100, nullptr, nullptr, nullptr,
                                  nullptr);
    }
    ~TestWindowInFront() { DestroyWindow(window_); }
    TestWindowInFront(const TestWindowInFront&) = delete;
    TestWindowInFront& operator=(const TestWindowInFront&) = delete;
    bool TakeFront() const {
        return WaitUntil([&] { return SetForegroundWindow(window_) && GetForegroundWindow() == window_; }, 5000);
    }

  private:
    HWND window_ = nullptr;
};

}  // namespace

// The hot-key dialog open holds the settings dialog disabled: whatever brings the program
// forward brings the hot-key dialog, which takes the keyboard, and the tray stays usable.
TEST_F(TrayMenu, WithTheHotKeyDialogOpenEveryRouteBringsItForwardAndTheMenuActs) {
    DialogApp app({{L"auto_hide_icons_sec", L"600"}, {L"hide_taskbar", L"1"}});
    ASSERT_NE(app.Start(), nullptr);
    HWND mainWindow = app.App().WaitForMainWindow();
    HWND dialog = app.Dialog().Window();
    ASSERT_TRUE(WaitUntil([&] { return IconPresent(mainWindow); }, 5000));
    ASSERT_TRUE(app.Dialog().ChooseMoreOption(kHotKeyItem));
    // Owned by the settings dialog, the hot-key dialog is above it: the process's first.
    HWND hotKey = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            hotKey = e2e::FindProcessWindow(app.App().Running().Id(), L"#32770");
            return hotKey != nullptr && hotKey != dialog;
        },
        5000));
    TestWindowInFront other;

    ASSERT_TRUE(other.TakeFront());
    EXPECT_EQ(app.App().RunToExit(L""), 45054);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == hotKey; }, 5000)) << "second start";
    // The hot-key field, empty until now, takes the key pressed: the keyboard is the field's.
    ASSERT_EQ(SendDlgItemMessageW(hotKey, IDC_HOTKEY_CONTROL, HKM_GETHOTKEY, 0, 0), 0);
    e2e::PressKeys({'Z'});
    EXPECT_TRUE(
        WaitUntil([&] { return SendDlgItemMessageW(hotKey, IDC_HOTKEY_CONTROL, HKM_GETHOTKEY, 0, 0) != 0; }, 5000));

    ASSERT_TRUE(other.TakeFront());
    PostMessageW(mainWindow, kTrayCallback, kIconId, WM_LBUTTONDOWN);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == hotKey; }, 5000)) << "left click on the icon";
    EXPECT_TRUE(IsWindowVisible(dialog)) << "the click brings forward, it does not hide";
    ASSERT_TRUE(other.TakeFront());
    ASSERT_TRUE(ChooseTrayItem(mainWindow, TrayItem::kPreferences));
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == hotKey; }, 5000)) << "Preferences";

    ASSERT_TRUE(ChooseTrayItem(mainWindow, TrayItem::kHideEverything));
    EXPECT_TRUE(WaitUntil([] { return !DesktopStandin::IconsVisible() && !TaskbarVisible(); }, 5000));
    EXPECT_TRUE(IsWindow(hotKey));

    // Exit closes the hot-key dialog and ends the program with everything shown.
    ASSERT_TRUE(ChooseTrayItem(mainWindow, TrayItem::kExit));
    EXPECT_EQ(app.App().Running().WaitForExit(10000), 1);
    EXPECT_TRUE(DesktopStandin::IconsVisible());
    EXPECT_TRUE(TaskbarVisible());
}

TEST(Tray, IconComesBackThroughItsThreadAndAtOnceForANewTaskbar) {
    DialogApp app({{L"m_disable", L"1"}});
    ASSERT_NE(app.Start(), nullptr);
    HWND mainWindow = app.App().WaitForMainWindow();
    ASSERT_TRUE(WaitUntil([&] { return IconPresent(mainWindow) && LookAtDrawnIcons().newestGrey; }, 5000));
    const int icons = LookAtDrawnIcons().count;

    LoseIcon(mainWindow);
    ASSERT_FALSE(IconPresent(mainWindow));
    ASSERT_TRUE(WaitUntil([&] { return IconPresent(mainWindow); }, 6000)) << "the thread looks every 5 s";
    // The thread looked at most a poll before now, so it does not look again for five seconds
    // less that poll: only the announcement can bring the icon back before then.
    const DWORD looked = GetTickCount();
    EXPECT_TRUE(WaitUntil([] { return LookAtDrawnIcons().newestGrey; }, 2000)) << "still disabled";

    LoseIcon(mainWindow);
    ASSERT_FALSE(IconPresent(mainWindow));
    SendNotifyMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    const DWORD beforeTheThread = 4900;
    const DWORD left = GetTickCount() - looked < beforeTheThread ? beforeTheThread - (GetTickCount() - looked) : 0;
    EXPECT_TRUE(WaitUntil([&] { return IconPresent(mainWindow); }, left) && GetTickCount() - looked < beforeTheThread)
        << "back only " << GetTickCount() - looked << " ms after the thread's look";
    EXPECT_TRUE(WaitUntil([&] { return LookAtDrawnIcons().count == icons && LookAtDrawnIcons().newestGrey; }, 5000));
}
