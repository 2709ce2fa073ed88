#include "e2e/support/dialog_driver.h"

#include <commctrl.h>

#include <vector>

#include "e2e/support/e2e_support.h"
#include "resource_ids.h"

namespace e2e {

namespace {

constexpr DWORD kClickHoldMs = 100;

POINT ClickPoint(HWND control, bool onTheBox) {
    RECT rect = {};
    GetWindowRect(control, &rect);
    int y = (rect.top + rect.bottom) / 2;
    int x = onTheBox ? rect.left + 6 : (rect.left + rect.right) / 2;
    return POINT{x, y};
}

bool IsCheckBox(HWND control) {
    LONG type = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_AUTOCHECKBOX || type == BS_CHECKBOX;
}

}  // namespace

bool DialogDriver::Checked(int id) const {
    return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::wstring DialogDriver::Text(int id) const {
    wchar_t text[512] = L"";
    GetWindowTextW(Control(id), text, 512);
    return text;
}

std::wstring DialogDriver::Title() const {
    wchar_t text[512] = L"";
    GetWindowTextW(dialog_, text, 512);
    return text;
}

void DialogDriver::Click(int id) const {
    HWND control = Control(id);
    POINT p = ClickPoint(control, IsCheckBox(control));
    MoveCursor(p.x, p.y);
    // A dialog that has just been shown may not be on the screen yet: wait until the point
    // really lies on it (a group box around the control may be what is found there).
    WaitUntil([&] { return GetAncestor(WindowFromPoint(p), GA_ROOT) == dialog_; }, 3000);
    HoldLeftButton(kClickHoldMs);
}

bool DialogDriver::Toggle(int id) const {
    bool before = Checked(id);
    // Under Wine a real click now and then goes nowhere (the cursor left where it was, the
    // window still being raised); a click that did land flips the box within milliseconds.
    bool flipped = false;
    for (int attempt = 0; attempt < 3 && !flipped; ++attempt) {
        Click(id);
        flipped = WaitUntil([&] { return Checked(id) != before; }, 2500);
    }
    // The box flips just before its command reaches the dialog: let the dialog finish it.
    Settle();
    return flipped;
}

void DialogDriver::Settle() const {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(dialog_, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
}

bool DialogDriver::CatchUp(DWORD timeoutMs) const {
    // The countdown bar's step size is never used by the program: a new one posted to it and
    // read back by send marks the place in the queue.
    static WPARAM mark = 1000;
    ++mark;
    HWND bar = Control(IDC_COUNTDOWN);
    return PostMessageW(bar, PBM_SETSTEP, mark, 0) &&
           WaitUntil([&] { return static_cast<WPARAM>(SendMessageW(bar, PBM_GETSTEP, 0, 0)) == mark; }, timeoutMs);
}

int DialogDriver::SliderPosition() const {
    return static_cast<int>(SendMessageW(Control(IDC_HIDE_TIME_SLIDER), TBM_GETPOS, 0, 0));
}

void DialogDriver::DragSliderTo(int position) const {
    HWND slider = Control(IDC_HIDE_TIME_SLIDER);
    SendMessageW(slider, TBM_SETPOS, TRUE, position);
    SendMessageW(dialog_, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(slider));
    SendMessageW(dialog_, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(slider));
}

int DialogDriver::CountdownPosition() const {
    return static_cast<int>(SendMessageW(Control(IDC_COUNTDOWN), PBM_GETPOS, 0, 0));
}

bool DialogDriver::WaitForWholeTick(DWORD timeoutMs) const {
    // The test puts the bar at 0 and a tick moves it back. The first tick to do so may have
    // been under way already; the tick after it began after this call.
    for (int round = 0; round < 2; ++round) {
        SendMessageW(Control(IDC_COUNTDOWN), PBM_SETPOS, 0, 0);
        if (!WaitUntil([&] { return CountdownPosition() != 0; }, timeoutMs)) {
            return false;
        }
    }
    return true;
}

int DialogDriver::CountdownMaximum() const {
    return static_cast<int>(SendMessageW(Control(IDC_COUNTDOWN), PBM_GETRANGE, FALSE, 0));
}

void DialogDriver::Activate() const {
    // Inside the options group's frame, left of "Hide desktop icons permanently": the group
    // box lets the click through to the dialog. The strip above the group is the menu bar's.
    RECT rect = {};
    GetWindowRect(Control(IDC_PREFERENCES_GROUP), &rect);
    MoveCursor(rect.left + 6, rect.bottom - 8);
    HoldLeftButton(kClickHoldMs);
    WaitUntil([&] { return GetForegroundWindow() == dialog_; }, 2000);
}

bool DialogDriver::ChooseMoreOption(int index) const {
    HWND menu = OpenMenuWith([&] { Click(IDC_MORE_OPTIONS); });
    if (menu == nullptr) {
        return false;
    }
    std::vector<WPARAM> keys(static_cast<size_t>(index) + 1, VK_DOWN);
    keys.push_back(VK_RETURN);
    PressKeysInMenu(menu, keys);
    return WaitUntil([] { return FindOpenMenu() == nullptr; }, 5000);
}

HWND FindOpenMenu() {
    HWND menu = nullptr;
    while ((menu = FindWindowExW(nullptr, menu, L"#32768", nullptr)) != nullptr) {
        if (IsWindowVisible(menu)) {
            return menu;
        }
    }
    return nullptr;
}

HWND OpenMenuWith(const std::function<void()>& click) {
    HWND menu = nullptr;
    for (int attempt = 0; attempt < 3 && menu == nullptr; ++attempt) {
        click();
        WaitUntil([&] { return (menu = FindOpenMenu()) != nullptr; }, 2500);
    }
    return menu;
}

void PressKeysInMenu(HWND menu, const std::vector<WPARAM>& keys) {
    for (WPARAM key : keys) {
        PostMessageW(menu, WM_KEYDOWN, key, 1);
        PostMessageW(menu, WM_KEYUP, key, 1 | 0xC0000000);
    }
}

}  // namespace e2e
