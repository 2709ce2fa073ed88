#include "tray/tray_icon.h"

#include <chrono>
#include <iterator>

#include "common/failure_note.h"
#include "common/program.h"
#include "common/system_library.h"
#include "common/window_dpi.h"
#include "desktop/shell_windows.h"
#include "tray/grey_icon.h"

namespace {

constexpr UINT kAllFields = NIF_MESSAGE | NIF_ICON | NIF_TIP;
// The icon thread asks the GUI thread for the dialog's icon. A GUI thread that is busy, or
// itself waiting for the icon thread to stop, must not hold it longer than this; the
// resource icon then stands in.
constexpr UINT kIconSourceTimeoutMs = 500;

class SystemShell : public TrayShell {
  public:
    bool Notify(DWORD message, NOTIFYICONDATAW* record) override { return Shell_NotifyIconW(message, record) != 0; }

    HICON BuildIcon(HWND source, UINT iconId, bool grey) override {
        // The taskbar's own DPI: it may be on a monitor of another scale than the dialog.
        const UINT dpi = DpiOfWindow(FindWindowW(kPrimaryTaskbarClass, nullptr));
        return BuildTrayPicture(ProgramInstance(), source, iconId, grey, dpi);
    }

    bool IconRect(HWND owner, UINT iconId, RECT* rect) override {
        using GetRectFn = HRESULT(WINAPI*)(const NOTIFYICONIDENTIFIER*, RECT*);
        // Windows 7 and later: looked up, so the program still starts on Vista.
        static const auto getRect = reinterpret_cast<GetRectFn>(
            reinterpret_cast<void*>(GetProcAddress(LoadSystemLibrary(L"shell32.dll"), "Shell_NotifyIconGetRect")));
        if (getRect == nullptr) {
            return false;
        }
        NOTIFYICONIDENTIFIER icon = {};
        icon.cbSize = sizeof(icon);
        icon.hWnd = owner;
        icon.uID = iconId;
        return SUCCEEDED(getRect(&icon, rect));
    }
};

int IconWidth(HICON icon) {
    ICONINFO parts = {};
    if (!GetIconInfo(icon, &parts)) {
        return 0;
    }
    ScopedGdiObject mask(parts.hbmMask);
    ScopedGdiObject colour(parts.hbmColor);
    BITMAP bitmap = {};
    return GetObjectW(parts.hbmMask, sizeof(bitmap), &bitmap) != 0 ? bitmap.bmWidth : 0;
}

}  // namespace

HICON BuildTrayPicture(HMODULE module, HWND source, UINT iconId, bool grey, UINT dpi) {
    // The notification area shows the small size: an image of its own, not a larger one shrunk.
    const int size = SystemMetricForDpi(SM_CXSMICON, dpi);
    HICON icon = nullptr;
    DWORD_PTR small = 0;
    if (source != nullptr &&
        SendMessageTimeoutW(source, WM_GETICON, ICON_SMALL, 0, SMTO_BLOCK | SMTO_ABORTIFHUNG, kIconSourceTimeoutMs,
                            &small) != 0 &&
        small != 0 && IconWidth(reinterpret_cast<HICON>(small)) == size) {
        // A copy: the window's own icon is never the tray's to destroy.
        icon = CopyIcon(reinterpret_cast<HICON>(small));
    }
    if (icon == nullptr) {
        icon = LoadIconAtSize(module, LOWORD(iconId), size);
    }
    if (grey && icon != nullptr) {
        ScopedIcon colour(icon);
        icon = MakeGreyIcon(colour.Get());
    }
    return icon;
}

NOTIFYICONDATAW MakeNotifyRecord(HWND owner, UINT iconId, UINT flags, HICON icon, const wchar_t* tip) {
    NOTIFYICONDATAW record = {};
    // The version-2 record: what every shell since Windows 2000 reads, at this build's size.
    record.cbSize = NOTIFYICONDATAW_V2_SIZE;
    record.hWnd = owner;
    record.uID = iconId;
    record.uFlags = flags;
    record.uCallbackMessage = kTrayCallbackMessage;
    record.hIcon = icon;
    if (tip != nullptr) {
        lstrcpynW(record.szTip, tip, kTrayTipLength + 1);
    }
    return record;
}

TrayShell& SystemTrayShell() {
    static SystemShell shell;
    return shell;
}

TrayIcon::~TrayIcon() {
    Remove();
    HANDLE abandoned = abandonedThread_.load();
    if (abandoned != nullptr && WaitForSingleObject(abandoned, kIconThreadStopWaitMs) == WAIT_OBJECT_0) {
        CloseHandle(abandonedThread_.exchange(nullptr));
        threadAbandoned_.store(false);
    }
    HANDLE stopEvent = stopEvent_.load();
    if (stopEvent != nullptr && !threadAbandoned_.load()) {
        CloseHandle(stopEvent);
    }
}

bool TrayIcon::ThreadRunning() const {
    std::lock_guard lock(shellLock_);
    return thread_ != nullptr;
}

bool TrayIcon::Notify(DWORD message, UINT flags, ScopedIcon icon, const wchar_t* tip) {
    // Version 4 hides the standard tip unless every add and change asks for it; the older
    // protocols show it anyway and may not know the flag.
    if ((message == NIM_ADD || message == NIM_MODIFY) && protocolVersion_ == NOTIFYICON_VERSION_4) {
        flags |= NIF_SHOWTIP;
    }
    NOTIFYICONDATAW record = MakeNotifyRecord(ownerWindow_.load(), iconId_.load(), flags, icon.Get(), tip);
    return shell_.Notify(message, &record);
}

void TrayIcon::Create(UINT iconId, const wchar_t* tip, bool startThread) {
    {
        std::lock_guard lock(shellLock_);
        iconId_.store(iconId);
        lstrcpynW(tip_, tip != nullptr ? tip : L"", static_cast<int>(std::size(tip_)));
        shown_.store(true);
    }
    Refresh();
    if (!startThread) {
        return;
    }
    StopThread();
    if (threadAbandoned_.load()) {
        return;  // the old thread still waits on the event; it must not see it reset
    }
    // Made by the first start only, before any thread exists that could read the field.
    if (stopEvent_.load() == nullptr) {
        stopEvent_.store(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    }
    // Without the thread a lost icon comes back only when the shell announces a new taskbar.
    HANDLE stopEvent = stopEvent_.load();
    if (stopEvent == nullptr) {
        NoteFailure(L"CreateEvent (tray icon)");
        return;
    }
    ResetEvent(stopEvent);
    std::lock_guard lock(shellLock_);
    thread_ = CreateThread(nullptr, 0, IconThread, this, 0, &threadId_);
    if (thread_ == nullptr) {
        NoteFailure(L"CreateThread (tray icon)");
    }
}

bool TrayIcon::Present() {
    std::lock_guard lock(shellLock_);
    return Notify(NIM_MODIFY, NIF_MESSAGE, ScopedIcon(), tip_);
}

void TrayIcon::Refresh() {
    Update(false);
}

void TrayIcon::Update(bool onlyWhenLost) {
    if (ownerWindow_.load() == nullptr) {
        return;
    }
    // Built outside the lock: it may wait for the GUI thread, which may be waiting for the lock.
    // The handle is this call's alone, so the two threads never destroy each other's icon.
    ScopedIcon icon(shell_.BuildIcon(iconSourceWindow_.load(), iconId_.load(), disabledLook_.load()));
    std::lock_guard lock(shellLock_);
    if (!shown_.load()) {
        return;  // removed meanwhile: an icon added now would outlive the program
    }
    bool present = Notify(NIM_MODIFY, NIF_MESSAGE, ScopedIcon(), tip_);
    if (present && onlyWhenLost) {
        return;  // put back meanwhile, and with the look of now
    }
    if (!present) {
        protocolVersion_ = 0;  // a new icon starts with the original protocol
    }
    if (Notify(present ? NIM_MODIFY : NIM_ADD, kAllFields, std::move(icon), tip_) && !present) {
        AskForKeyboardEvents();
        ShowTipUnderVersion4();
    }
}

// The newer protocols tell the keyboard apart from the mouse (NIN_KEYSELECT, WM_CONTEXTMENU at
// the icon's place); the mouse messages stay as they were. A shell without version 4 (before
// Vista) may know version 3; one without either keeps the original protocol, and the icon
// then answers the mouse alone. The record keeps its version-2 size, which all of them read.
void TrayIcon::AskForKeyboardEvents() {
    NOTIFYICONDATAW record = MakeNotifyRecord(ownerWindow_.load(), iconId_.load(), 0, nullptr, nullptr);
    for (UINT version : {NOTIFYICON_VERSION_4, NOTIFYICON_VERSION}) {
        record.uVersion = version;
        if (shell_.Notify(NIM_SETVERSION, &record)) {
            protocolVersion_ = version;
            return;
        }
    }
}

// The icon was added before the shell knew the version, so the tip is asked for once more.
void TrayIcon::ShowTipUnderVersion4() {
    if (protocolVersion_ == NOTIFYICON_VERSION_4) {
        Notify(NIM_MODIFY, NIF_TIP, ScopedIcon(), tip_);
    }
}

void TrayIcon::ReturnFocus() {
    std::lock_guard lock(shellLock_);
    if (shown_.load()) {
        Notify(NIM_SETFOCUS, 0, ScopedIcon(), nullptr);
    }
}

bool TrayIcon::Rect(RECT* rect) {
    return shell_.IconRect(ownerWindow_.load(), iconId_.load(), rect);
}

DWORD WINAPI TrayIcon::IconThread(void* self) {
    auto* tray = static_cast<TrayIcon*>(self);
    // Normally one Shell_NotifyIconW call a wake; the picture is built only for a lost icon.
    while (WaitForSingleObject(tray->stopEvent_.load(), tray->periodMs_) == WAIT_TIMEOUT) {
        if (!tray->Present()) {
            tray->Update(true);
        }
    }
    return kIconThreadExitCode;
}

bool TrayIcon::StopThread() {
    HANDLE thread = nullptr;
    DWORD threadId = 0;
    {
        std::unique_lock lock(shellLock_, std::defer_lock);
        if (!lock.try_lock_for(std::chrono::milliseconds(kIconThreadStopWaitMs))) {
            return false;
        }
        thread = std::exchange(thread_, nullptr);
        threadId = std::exchange(threadId_, 0);
    }
    if (thread == nullptr) {
        return true;
    }
    SetEvent(stopEvent_.load());
    if (threadId == GetCurrentThreadId()) {
        threadAbandoned_.store(true);  // the crash filter on the icon thread itself: it ends with the process
        return true;
    }
    if (WaitForSingleObject(thread, kIconThreadStopWaitMs) != WAIT_OBJECT_0) {
        // Only the one caller that took the handle from thread_ gets here.
        abandonedThread_.store(thread);
        threadAbandoned_.store(true);
        return false;
    }
    CloseHandle(thread);
    return true;
}

bool TrayIcon::Remove() {
    {
        std::unique_lock lock(shellLock_, std::defer_lock);
        // Whoever holds the lock is stuck in the shell; the delete is still worth a try.
        bool locked = lock.try_lock_for(std::chrono::milliseconds(kIconThreadStopWaitMs));
        if (shown_.exchange(false) || !locked) {
            Notify(NIM_DELETE, kAllFields, ScopedIcon(), nullptr);
        }
    }
    return StopThread();
}

namespace {

TrayIcon trayIcon(SystemTrayShell());

}  // namespace

void CreateTrayIcon(HWND owner, HWND iconSource, bool disabledLook) {
    trayIcon.SetOwnerWindow(owner);
    trayIcon.SetIconSourceWindow(iconSource);
    trayIcon.SetDisabledLook(disabledLook);
    trayIcon.Create(kTrayIconId, productName, true);
}

void RefreshTrayIcon(bool disabledLook) {
    trayIcon.SetDisabledLook(disabledLook);
    trayIcon.Refresh();
}

void RestoreTrayIconForNewTaskbar() {
    trayIcon.Refresh();
}

void RemoveTrayIcon() {
    trayIcon.Remove();
}

void ReturnFocusToTrayIcon() {
    trayIcon.ReturnFocus();
}

bool TrayIconRect(RECT* rect) {
    return trayIcon.Rect(rect);
}
