#include "e2e/support/menu_bar_driver.h"

#include <commctrl.h>

#include "e2e/support/dialog_driver.h"
#include "e2e/support/e2e_support.h"

namespace e2e {

namespace {

constexpr int kTextLength = 100;

// A block of memory in another process for a message that writes through a pointer.
class LentMemory {
  public:
    LentMemory(DWORD processId, size_t size)
        : process_(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId)),
          size_(size) {
        if (process_ != nullptr) {
            address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        }
    }
    ~LentMemory() {
        if (address_ != nullptr) {
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        }
        if (process_ != nullptr) {
            CloseHandle(process_);
        }
    }
    LentMemory(const LentMemory&) = delete;
    LentMemory& operator=(const LentMemory&) = delete;

    LPARAM Address() const { return reinterpret_cast<LPARAM>(address_); }
    bool Read(void* into) const {
        SIZE_T read = 0;
        return address_ != nullptr && ReadProcessMemory(process_, address_, into, size_, &read) && read == size_;
    }

  private:
    HANDLE process_;
    size_t size_;
    void* address_ = nullptr;
};

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
    LentMemory lent(processId_, sizeof(button));
    if (!SendMessageW(toolbar, TB_GETBUTTON, index, lent.Address()) || !lent.Read(&button)) {
        return L"(no button)";
    }
    wchar_t text[kTextLength] = L"";
    LentMemory lentText(processId_, sizeof(text));
    SendMessageW(toolbar, TB_GETBUTTONTEXTW, button.idCommand, lentText.Address());
    lentText.Read(text);
    text[kTextLength - 1] = L'\0';
    return text;
}

RECT MenuBarDriver::ButtonRect(HWND toolbar, int index) const {
    RECT rect = {};
    LentMemory lent(processId_, sizeof(rect));
    if (SendMessageW(toolbar, TB_GETITEMRECT, index, lent.Address()) && lent.Read(&rect)) {
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
