// The shell's windows on a thread that stops answering for a while, as a hung Explorer's do.
// The program must not wait for them: neither for the desktop view that switches the shell's
// own "show desktop icons" setting (nor send it a second toggle that would switch the setting
// back once the shell catches up), nor for the list view asked for its label editor.
#include <gtest/gtest.h>

#include <windows.h>

#include <thread>

#include "desktop/desktop_windows.h"
#include "desktop/system_desktop.h"

namespace {

constexpr wchar_t kAdvancedKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
constexpr UINT kHangMessage = WM_APP + 1;  // wParam: ms
constexpr DWORD kHangMs = 1500;

DWORD ReadHideIcons() {
    DWORD value = 0;
    DWORD size = sizeof(value);
    RegGetValueW(HKEY_CURRENT_USER, kAdvancedKey, L"HideIcons", RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

void WriteHideIcons(DWORD value) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kAdvancedKey, L"HideIcons", REG_DWORD, &value, sizeof(value));
}

// The desktop view flips the setting, as Explorer's does.
LRESULT CALLBACK ViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && wParam == 0x7402) {
        WriteHideIcons(ReadHideIcons() != 0 ? 0 : 1);
        return 0;
    }
    if (message == kHangMessage) {
        Sleep(static_cast<DWORD>(wParam));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// "Program Manager" > "SHELLDLL_DefView" > "SysListView32" on a thread of their own.
class ShellOnItsOwnThread {
  public:
    ShellOnItsOwnThread() {
        HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this, ready] { Run(ready); });
        WaitForSingleObject(ready, 5000);
        CloseHandle(ready);
    }
    ~ShellOnItsOwnThread() {
        PostMessageW(progman_, WM_CLOSE, 0, 0);
        thread_.join();
    }
    ShellOnItsOwnThread(const ShellOnItsOwnThread&) = delete;
    ShellOnItsOwnThread& operator=(const ShellOnItsOwnThread&) = delete;

    void Hang(DWORD ms) const { PostMessageW(view_, kHangMessage, ms, 0); }
    HWND View() const { return view_; }
    HWND ListView() const { return listView_; }
    HWND LabelEditor() const { return editor_; }

  private:
    void Run(HANDLE ready) {
        WNDCLASSW viewClass = {};
        viewClass.lpfnWndProc = ViewProc;
        viewClass.hInstance = GetModuleHandleW(nullptr);
        viewClass.lpszClassName = L"SHELLDLL_DefView";
        RegisterClassW(&viewClass);
        WNDCLASSW listClass = {};
        listClass.lpfnWndProc = DefWindowProcW;
        listClass.hInstance = GetModuleHandleW(nullptr);
        listClass.lpszClassName = L"SysListView32";
        RegisterClassW(&listClass);
        progman_ = CreateWindowExW(WS_EX_TOOLWINDOW, L"Static", L"Program Manager", WS_POPUP, 0, 0, 10, 10, nullptr,
                                   nullptr, nullptr, nullptr);
        view_ = CreateWindowExW(0, L"SHELLDLL_DefView", L"", WS_CHILD, 0, 0, 10, 10, progman_, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
        listView_ = CreateWindowExW(0, L"SysListView32", L"", WS_CHILD, 0, 0, 10, 10, view_, nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
        // A label being edited; this list view answers that none is (DefWindowProc: 0).
        editor_ = CreateWindowExW(0, L"Edit", L"", WS_CHILD, 0, 0, 10, 10, listView_, nullptr, nullptr, nullptr);
        SetEvent(ready);
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            if (message.message == WM_CLOSE && message.hwnd == progman_) {
                break;
            }
            DispatchMessageW(&message);
        }
        DestroyWindow(progman_);
        UnregisterClassW(L"SHELLDLL_DefView", GetModuleHandleW(nullptr));
        UnregisterClassW(L"SysListView32", GetModuleHandleW(nullptr));
    }

    std::thread thread_;
    HWND progman_ = nullptr;
    HWND view_ = nullptr;
    HWND listView_ = nullptr;
    HWND editor_ = nullptr;
};

// Takes this thread's messages (the answers of the shell) until `done` or the time is up.
template <typename Condition>
bool PumpUntil(Condition done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        Sleep(5);
    }
    return true;
}

}  // namespace

TEST(HungShellWindows, IconToggleCostsNothingAndGoesOnceHoweverOftenTheSettingIsAskedFor) {
    const DWORD saved = ReadHideIcons();
    WriteHideIcons(0);
    {
        ShellOnItsOwnThread shell;
        ASSERT_NE(shell.View(), nullptr);
        shell.Hang(kHangMs);
        Sleep(50);
        // Every timer message asks while "hide permanently" is on; an even number of toggles
        // would leave the icons on.
        const DWORD start = GetTickCount();
        for (int ask = 0; ask < 4; ++ask) {
            ShellHideIcons();
        }
        EXPECT_LT(GetTickCount() - start, kHangMs / 3) << "waited for the hung view";
        EXPECT_TRUE(PumpUntil([] { return ReadHideIcons() == 1; }, kHangMs + 3000));
        // Asked again once the view has answered: the setting stays as it is.
        for (int ask = 0; ask < 5; ++ask) {
            ShellHideIcons();
            PumpUntil([] { return false; }, 20);
        }
        EXPECT_EQ(ReadHideIcons(), 1u);

        ShellShowIcons();
        EXPECT_TRUE(PumpUntil([] { return ReadHideIcons() == 0; }, 3000));
        ShellShowIcons();
        PumpUntil([] { return false; }, 100);
        EXPECT_EQ(ReadHideIcons(), 0u);
    }
    WriteHideIcons(saved);
}

// The tick asks the list view for its label editor whenever it has an "Edit" child: a hung
// list view costs it a tenth of a second at most, and its "Edit" child stands for the editor.
TEST(HungShellWindows, LabelEditorQuestionIsCutShort) {
    ShellOnItsOwnThread shell;
    ASSERT_NE(shell.LabelEditor(), nullptr);
    SystemDesktop desktop;
    EXPECT_EQ(desktop.LabelEditor(shell.ListView()), nullptr) << "answered: no label is edited";
    shell.Hang(kHangMs);
    Sleep(50);
    const DWORD start = GetTickCount();
    EXPECT_EQ(desktop.LabelEditor(shell.ListView()), shell.LabelEditor());
    EXPECT_LT(GetTickCount() - start, kHangMs / 3) << "waited for the hung list view";
}
