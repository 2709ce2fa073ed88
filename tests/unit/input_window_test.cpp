#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "common/input_window.h"

namespace {

// Dialog boxes as the program's modal windows are: class "#32770", owned by the window they
// disable. What each is told is written down.
class ModalWindows : public ::testing::Test {
  protected:
    void TearDown() override {
        for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
            DestroyWindow(*it);
        }
    }

    HWND Make(const wchar_t* className, HWND owner, bool visible = true) {
        HWND window = CreateWindowExW(0, className, L"", WS_POPUP | (visible ? WS_VISIBLE : 0), 10, 10, 50, 50, owner,
                                      nullptr, nullptr, nullptr);
        EXPECT_NE(window, nullptr);
        windows_.push_back(window);
        return window;
    }

    // A modal window over `owner`: `owner` is disabled, as the dialog manager does.
    HWND Over(HWND owner) {
        HWND modal = Make(L"#32770", owner);
        EnableWindow(owner, FALSE);
        SetWindowLongPtrW(modal, GWLP_USERDATA, GetWindowLongPtrW(modal, GWLP_WNDPROC));
        SetWindowLongPtrW(modal, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordCancel));
        return modal;
    }

    static LRESULT CALLBACK RecordCancel(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
            cancelled.push_back(window);
        }
        auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_USERDATA));
        return CallWindowProcW(previous, window, message, wParam, lParam);
    }

    static inline std::vector<HWND> cancelled;
    std::vector<HWND> windows_;
};

}  // namespace

TEST_F(ModalWindows, InputGoesToTheLastModalWindowAndExitCancelsThemLastFirst) {
    HWND dialog = Make(L"#32770", nullptr);
    Make(L"STATIC", dialog);  // an owned pop-up that is no dialog box: a tooltip, say
    EXPECT_EQ(InputWindow(dialog), dialog) << "no modal window";
    EnableWindow(dialog, FALSE);
    EXPECT_EQ(InputWindow(dialog), dialog) << "disabled by a wait of its own, no window over it";
    EnableWindow(dialog, TRUE);

    HWND hotKeyDialog = Over(dialog);
    Make(L"#32770", hotKeyDialog, false);  // a hidden one is nobody's input
    EXPECT_EQ(InputWindow(dialog), hotKeyDialog);
    HWND messageBox = Over(hotKeyDialog);
    EXPECT_EQ(InputWindow(dialog), messageBox);
    EXPECT_EQ(InputWindow(hotKeyDialog), messageBox);
    EXPECT_EQ(InputWindow(messageBox), messageBox);

    cancelled.clear();
    CancelModalWindows(dialog);
    EXPECT_EQ(cancelled, (std::vector<HWND>{messageBox, hotKeyDialog}));
    cancelled.clear();
    EnableWindow(dialog, TRUE);
    CancelModalWindows(dialog);
    EXPECT_TRUE(cancelled.empty()) << "an enabled window has no modal window over it";
}
