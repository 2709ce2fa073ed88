// Notifications (WM_NOTIFY) from another process, whose lParam the program would read as a
// pointer into its own memory. The program's own controls send them on its own thread; posted
// from outside they must change nothing and end nothing. (Wine refuses to send a WM_NOTIFY to
// another process, and to post any of the other messages that carry a pointer.)
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "e2e/support/dialog_app.h"
#include "e2e/support/dialog_driver.h"
#include "resource_ids.h"

namespace {

using e2e::DialogApp;

constexpr UINT kTrayCallback = WM_APP + 100;  // 32868
constexpr int kDialogPosts = 1000;
constexpr int kChildPosts = 300;
constexpr int kMenuPosts = 200;

std::vector<HWND> ChildrenOf(HWND window) {
    std::vector<HWND> children;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM param) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    return children;
}

// Parameters of every kind: small numbers, addresses anywhere, and now and then `bait`.
class Garbage {
  public:
    explicit Garbage(uintptr_t bait) : bait_(bait) {}
    WPARAM Word() { return static_cast<WPARAM>(Pick()); }
    LPARAM Long() { return static_cast<LPARAM>(Pick()); }

  private:
    uintptr_t Pick() {
        switch (random_() % 5) {
            case 0:
                return random_() % 0x10000;
            case 1:
                return static_cast<uint32_t>(random_());
            case 2:
                return random_() & ~uintptr_t{7};
            case 3:
                return bait_;
            default:
                return static_cast<uintptr_t>(random_());
        }
    }

    std::mt19937_64 random_{19};
    uintptr_t bait_;
};

// A page in the program's own memory holding a tool tip's request for the FAQ button's text,
// as the dialog's own tool tip would send it: a handler that trusted it would write its text
// where the sender chose.
class BaitPage {
  public:
    BaitPage(DWORD processId, HWND from) {
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
        if (process_ == nullptr) {
            return;
        }
        address_ = VirtualAllocEx(process_, nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        NMTTDISPINFOW request = {};
        request.hdr.hwndFrom = from;
        request.hdr.idFrom = IDC_FAQ;
        request.hdr.code = TTN_GETDISPINFOW;
        written_ = address_ != nullptr &&
                   WriteProcessMemory(process_, address_, &request, sizeof(request), nullptr) != 0;
    }
    ~BaitPage() {
        if (address_ != nullptr) {
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        }
        if (process_ != nullptr) {
            CloseHandle(process_);
        }
    }
    BaitPage(const BaitPage&) = delete;
    BaitPage& operator=(const BaitPage&) = delete;

    bool Ready() const { return written_; }
    uintptr_t Address() const { return reinterpret_cast<uintptr_t>(address_); }
    // The request's text as it is now in the program's memory; empty while nobody wrote it.
    std::wstring Text() const {
        NMTTDISPINFOW request = {};
        ReadProcessMemory(process_, address_, &request, sizeof(request), nullptr);
        request.szText[79] = L'\0';
        return request.szText;
    }

  private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    bool written_ = false;
};

bool Answers(HWND window) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK | SMTO_ABORTIFHUNG, 5000, &ignored) != 0;
}

}  // namespace

// 1,000 notifications with random parameters posted to the settings dialog, more to each of
// its windows and to the main window, now and then pointing at a well-formed request from one
// of the dialog's own children. The owner-draw messages cannot be posted at all.
TEST(DialogForeignMessages, PostedNotificationsChangeNothing) {
    DialogApp app;
    HWND dialog = app.Start();
    ASSERT_NE(dialog, nullptr);
    HWND mainWindow = app.App().WaitForMainWindow();
    const std::vector<HWND> children = ChildrenOf(dialog);
    ASSERT_FALSE(children.empty());
    BaitPage bait(app.App().Running().Id(), children.front());
    ASSERT_TRUE(bait.Ready());
    Garbage garbage(bait.Address());

    for (int i = 0; i < kDialogPosts; ++i) {
        const WPARAM controlId = i % 2 == 0 ? IDC_FAQ : garbage.Word();
        PostMessageW(dialog, WM_NOTIFY, controlId, garbage.Long());
    }
    std::vector<HWND> others = children;
    others.push_back(mainWindow);
    for (int i = 0; i < kChildPosts; ++i) {
        HWND target = others[static_cast<size_t>(i) % others.size()];
        PostMessageW(target, WM_NOTIFY, IDC_FAQ, garbage.Long());
    }
    for (UINT message : {WM_DRAWITEM, WM_MEASUREITEM, WM_COMPAREITEM, WM_DELETEITEM, WM_COPYDATA}) {
        SetLastError(0);
        EXPECT_FALSE(PostMessageW(dialog, message, 1, static_cast<LPARAM>(bait.Address()))) << message;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MESSAGE_SYNC_ONLY)) << message;
    }
    ASSERT_TRUE(app.Dialog().CatchUp(15000)) << "the program took every posted message";
    EXPECT_TRUE(app.App().Running().Running());
    EXPECT_TRUE(Answers(dialog));
    EXPECT_EQ(bait.Text(), L"") << "written where another process chose";
}

// The menu bar's toolbar: the dialog's toolbar child that holds the right-hand toolbar.
void FindMenuBar(HWND dialog, HWND* menuBar, HWND* rightButtons) {
    HWND toolbar = nullptr;
    while ((toolbar = FindWindowExW(dialog, toolbar, TOOLBARCLASSNAMEW, nullptr)) != nullptr) {
        if (HWND right = FindWindowExW(toolbar, nullptr, TOOLBARCLASSNAMEW, nullptr)) {
            *menuBar = toolbar;
            *rightButtons = right;
            return;
        }
    }
}

// A notification posted while a loop that is not the program's own runs (here the tray menu's)
// never passes the program's message loop: the handlers of the dialog and of the menu bar's
// two toolbars, whose procedures are the program's, must not act on it. The well-formed
// request names a window that is not the dialog's.
TEST(DialogForeignMessages, NotificationsPostedDuringAMenuChangeNothing) {
    DialogApp app;
    HWND dialog = app.Start();
    ASSERT_NE(dialog, nullptr);
    HWND mainWindow = app.App().WaitForMainWindow();
    HWND menuBar = nullptr;
    HWND rightButtons = nullptr;
    FindMenuBar(dialog, &menuBar, &rightButtons);
    ASSERT_NE(rightButtons, nullptr);
    BaitPage bait(app.App().Running().Id(), GetDesktopWindow());
    ASSERT_TRUE(bait.Ready());
    Garbage garbage(bait.Address());

    PostMessageW(mainWindow, kTrayCallback, 107, WM_RBUTTONDOWN);
    HWND menu = nullptr;
    ASSERT_TRUE(e2e::WaitUntil([&] { return (menu = e2e::FindOpenMenu()) != nullptr; }, 5000));
    for (int i = 0; i < kMenuPosts; ++i) {
        for (HWND target : {dialog, menuBar, rightButtons}) {
            PostMessageW(target, WM_NOTIFY, IDC_FAQ, garbage.Long());
        }
    }
    ASSERT_TRUE(app.Dialog().CatchUp(15000)) << "the menu's loop took every posted message";
    EXPECT_NE(e2e::FindOpenMenu(), nullptr) << "the menu was open all along";
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 1);
    PostMessageW(menu, WM_KEYUP, VK_ESCAPE, 1 | 0xC0000000);
    EXPECT_TRUE(e2e::WaitUntil([] { return e2e::FindOpenMenu() == nullptr; }, 5000));
    EXPECT_TRUE(app.App().Running().Running());
    EXPECT_TRUE(Answers(dialog));
    EXPECT_EQ(bait.Text(), L"") << "written where another process chose";
}
