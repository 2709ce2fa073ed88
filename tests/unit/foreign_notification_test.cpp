// Which notifications the program acts on: only ones in its own writable memory, from a window
// of its own thread that belongs to the receiver's top-level window (issue 19).
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "appearance/dark_subclass.h"
#include "appearance/menu_bar.h"
#include "common/foreign_messages.h"

namespace {

// A top-level window with a child, a tool tip owned through the child, and a stranger: a
// top-level window of the same thread that is not the receiver's.
class NotificationWindows : public ::testing::Test {
  protected:
    void SetUp() override {
        top = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
        child = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD, 0, 0, 50, 20, top, nullptr, nullptr, nullptr);
        tip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP, 0, 0, 10, 10, child, nullptr, nullptr, nullptr);
        stranger = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(tip, nullptr);
    }
    void TearDown() override {
        DestroyWindow(tip);
        DestroyWindow(stranger);
        DestroyWindow(top);
    }

    HWND top = nullptr;
    HWND child = nullptr;
    HWND tip = nullptr;
    HWND stranger = nullptr;
};

LPARAM Param(const void* p) {
    return reinterpret_cast<LPARAM>(p);
}

const NMHDR kReadOnly = {};

}  // namespace

TEST_F(NotificationWindows, NoticesOfTheReceiversOwnWindowsAreTrusted) {
    NMHDR header = {child, 1, 0};
    EXPECT_EQ(TrustedNotification(top, Param(&header)), &header);
    EXPECT_EQ(TrustedNotification(child, Param(&header)), &header) << "any receiver under the same top";
    header.hwndFrom = tip;
    EXPECT_EQ(TrustedNotification(top, Param(&header)), &header) << "a tool tip owned through a child";
    header.hwndFrom = top;
    EXPECT_EQ(TrustedNotification(child, Param(&header)), &header);
}

TEST_F(NotificationWindows, NoticesOfOtherWindowsAreNot) {
    NMHDR header = {stranger, 1, 0};
    EXPECT_EQ(TrustedNotification(top, Param(&header)), nullptr) << "another top-level window of the thread";
    header.hwndFrom = GetDesktopWindow();
    EXPECT_EQ(TrustedNotification(top, Param(&header)), nullptr) << "a window of another thread";
    header.hwndFrom = nullptr;
    EXPECT_EQ(TrustedNotification(top, Param(&header)), nullptr);
    header.hwndFrom = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x12345678));
    EXPECT_EQ(TrustedNotification(top, Param(&header)), nullptr) << "no window at all";
}

TEST_F(NotificationWindows, PointersThatAreNotTheProgramsWritableMemoryAreRefused) {
    for (LPARAM garbage : {LPARAM{0}, LPARAM{0x10}, LPARAM{0xFFFF}, static_cast<LPARAM>(0x7FFFFFFF0000),
                           static_cast<LPARAM>(-16)}) {
        EXPECT_EQ(TrustedNotification(top, garbage), nullptr) << garbage;
    }
    alignas(8) unsigned char bytes[sizeof(NMHDR) + 1] = {};
    *reinterpret_cast<HWND*>(bytes) = child;
    EXPECT_EQ(TrustedNotification(top, Param(bytes + 1)), nullptr) << "misaligned";
    EXPECT_EQ(TrustedNotification(top, Param(&kReadOnly)), nullptr) << "read-only";

    // A page whose record runs past its end: all of the record must be there.
    auto* page = static_cast<unsigned char*>(VirtualAlloc(nullptr, 8192, MEM_RESERVE, PAGE_NOACCESS));
    ASSERT_NE(page, nullptr);
    ASSERT_NE(VirtualAlloc(page, 4096, MEM_COMMIT, PAGE_READWRITE), nullptr);
    auto* atEnd = reinterpret_cast<NMHDR*>(page + 4096 - sizeof(NMHDR));
    atEnd->hwndFrom = child;
    EXPECT_EQ(TrustedNotification(top, Param(atEnd)), atEnd);
    EXPECT_EQ(TrustedNotification(top, Param(atEnd), sizeof(NMTTDISPINFOW)), nullptr);
    VirtualFree(page, 0, MEM_RELEASE);
}

TEST(ForeignNotification, OnlyAPostedNotificationIsDroppedByTheLoop) {
    MSG message = {};
    message.message = WM_NOTIFY;
    EXPECT_TRUE(IsForbiddenPostedMessage(message));
    for (UINT other : {UINT{WM_COMMAND}, UINT{WM_TIMER}, UINT{WM_DRAWITEM}, UINT{WM_APP + 100}}) {
        message.message = other;
        EXPECT_FALSE(IsForbiddenPostedMessage(message)) << other;
    }
}

namespace {

UINT notificationsSeen = 0;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        ++notificationsSeen;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

HWND MakeCountingWindow() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = CountingProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VelmoraTestNotifyCounter";
    RegisterClassW(&windowClass);  // the second time it fails harmlessly
    return CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 400, 200, nullptr, nullptr,
                           windowClass.hInstance, nullptr);
}

// The menu bar's toolbars pass the right-hand buttons' tool tip requests on to the dialog; a
// request that names a window not the dialog's goes nowhere, neither to the dialog nor to the
// toolbars' own procedures.
TEST(ForeignNotification, TheMenuBarPassesOnlyTheDialogsOwnNoticesOn) {
    HWND parent = MakeCountingWindow();
    {
        MenuBar bar;
        ASSERT_TRUE(bar.Create(parent));
        bar.AddRightButton(L"# ?", 1050);
        HWND right = FindWindowExW(bar.Window(), nullptr, TOOLBARCLASSNAMEW, nullptr);
        ASSERT_NE(right, nullptr);

        NMTTDISPINFOW request = {};
        request.hdr.hwndFrom = right;
        request.hdr.idFrom = 1050;
        request.hdr.code = TTN_GETDISPINFOW;
        notificationsSeen = 0;
        SendMessageW(bar.Window(), WM_NOTIFY, 1050, Param(&request));
        EXPECT_EQ(notificationsSeen, 1u) << "the right-hand buttons' own request reaches the dialog";

        request.hdr.hwndFrom = GetDesktopWindow();
        notificationsSeen = 0;
        for (HWND toolbar : {bar.Window(), right}) {
            EXPECT_EQ(SendMessageW(toolbar, WM_NOTIFY, 1050, Param(&request)), 0);
        }
        EXPECT_EQ(notificationsSeen, 0u);
        EXPECT_EQ(request.szText[0], L'\0') << "nothing written";
    }
    DestroyWindow(parent);
}

// Dark mode stands in front of dialogs (the program's and the common dialogs): a notice that
// names a window not the dialog's never reaches the dialog's own procedure.
TEST(ForeignNotification, TheDarkDialogPassesOnlyItsOwnNoticesOn) {
    HWND dialog = MakeCountingWindow();
    HWND child = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD, 0, 0, 50, 20, dialog, nullptr, nullptr, nullptr);
    SubclassDarkDialog(dialog);
    NMHDR header = {child, 1, static_cast<UINT>(NM_CLICK)};
    notificationsSeen = 0;
    SendMessageW(dialog, WM_NOTIFY, 1, Param(&header));
    EXPECT_EQ(notificationsSeen, 1u);
    header.hwndFrom = GetDesktopWindow();
    SendMessageW(dialog, WM_NOTIFY, 1, Param(&header));
    SendMessageW(dialog, WM_NOTIFY, 1, 0x10);
    EXPECT_EQ(notificationsSeen, 1u);
    DestroyWindow(dialog);
}
