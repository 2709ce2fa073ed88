#include "e2e/support/menu_bar_driver.h"

#include <commctrl.h>

#include "e2e/support/dialog_driver.h"
#include "e2e/support/e2e_support.h"

namespace e2e {

namespace {

// Sends a toolbar message that writes its answer through lParam, with memory lent in the
// program's process, and copies the answer here. False when the message or the copy failed.
template <typename Answer>
bool AskThroughLentMemory(DWORD processId, HWND toolbar, UINT message, WPARAM wParam, Answer& answer) {
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ, FALSE, processId);
    if (process == nullptr) {
        return false;
    }
    void* lent = VirtualAllocEx(process, nullptr, sizeof(answer), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    SIZE_T read = 0;
    bool answered = lent != nullptr && SendMessageW(toolbar, message, wParam, reinterpret_cast<LPARAM>(lent)) &&
                    ReadProcessMemory(process, lent, &answer, sizeof(answer), &read) && read == sizeof(answer);
    if (lent != nullptr) {
        VirtualFreeEx(process, lent, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return answered;
}

// The menu bar is the dialog's toolbar that holds another: the right-hand buttons.
HWND FindBar(HWND dialog) {
    HWND toolbar = nullptr;
    while ((toolbar = FindWindowExW(dialog, toolbar, TOOLBARCLASSNAMEW, nullptr)) != nullptr) {
        if (FindWindowExW(toolbar, nullptr, TOOLBARCLASSNAMEW, nullptr) != nullptr) {
            return toolbar;
        }
    }
    return nullptr;
}

}  // namespace

MenuBarDriver::MenuBarDriver(HWND dialog) : bar_(FindBar(dialog)) {
    right_ = bar_ != nullptr ? FindWindowExW(bar_, nullptr, TOOLBARCLASSNAMEW, nullptr) : nullptr;
    GetWindowThreadProcessId(dialog, &processId_);
}

int MenuBarDriver::ButtonCount(HWND toolbar) const {
    return static_cast<int>(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0));
}

int MenuBarDriver::IndexOf(HWND toolbar, UINT command) const {
    return static_cast<int>(SendMessageW(toolbar, TB_COMMANDTOINDEX, command, 0));
}

std::wstring MenuBarDriver::ButtonText(HWND toolbar, int index) const {
    TBBUTTON button = {};
    wchar_t text[100] = L"";
    if (!AskThroughLentMemory(processId_, toolbar, TB_GETBUTTON, index, button) ||
        !AskThroughLentMemory(processId_, toolbar, TB_GETBUTTONTEXTW, button.idCommand, text)) {
        return L"(no button)";
    }
    text[std::size(text) - 1] = L'\0';
    return text;
}

RECT MenuBarDriver::ButtonRect(HWND toolbar, int index) const {
    RECT rect = {};
    if (AskThroughLentMemory(processId_, toolbar, TB_GETITEMRECT, index, rect)) {
        MapWindowPoints(toolbar, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    }
    return rect;
}

bool MenuBarDriver::Pressed(HWND toolbar, UINT command) const {
    return SendMessageW(toolbar, TB_ISBUTTONPRESSED, command, 0) != 0;
}

void MenuBarDriver::Click(HWND toolbar, UINT command) const {
    const RECT rect = ButtonRect(toolbar, IndexOf(toolbar, command));
    MoveCursor((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    HoldLeftButton(100);
}

RECT OpenMenuRect() {
    RECT rect = {};
    if (HWND menu = FindOpenMenu()) {
        GetWindowRect(menu, &rect);
    }
    return rect;
}

}  // namespace e2e
