#include "extras/program_zip.h"

#include <shellapi.h>

#include <optional>
#include <string>

#include "common/failure_note.h"
#include "common/program.h"
#include "common/scoped_handle.h"
#include "common/system_library.h"
#include "extras/clipboard_snapshot.h"
#include "extras/zip_writer.h"
#include "lang/language_file.h"
#include "resource_ids.h"

namespace {

constexpr wchar_t kZipResourceType[] = L"ZIP";
constexpr UINT kFirstCommand = 1;
constexpr UINT kLastCommand = 0x7FFF;
// The ZIP folder moves the copy into the archive on a thread of its own, after "paste" has
// returned; the cut must stay on the clipboard until it has.
constexpr DWORD kMoveWaitMs = 10000;

HMODULE ZipFolderHandler() {
    static HMODULE handler = LoadSystemLibrary(L"zipfldr.dll");  // kept for the rest of the run
    return handler;
}

void FreeItemIdList(ITEMIDLIST* list) {
    ILFree(list);
}
using ScopedItemIdList = ScopedHandle<ITEMIDLIST*, FreeItemIdList>;

template <typename Interface>
class ComRef {
  public:
    ComRef() = default;
    ~ComRef() {
        if (pointer_ != nullptr) {
            pointer_->Release();
        }
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    Interface* operator->() const { return pointer_; }
    Interface* Get() const { return pointer_; }
    void** Out() { return reinterpret_cast<void**>(&pointer_); }

  private:
    Interface* pointer_ = nullptr;
};

// Set while a packing runs. Its wait answers messages, so a second "Send via e-mail" can
// arrive meanwhile; it must not write the archive the ZIP folder is filling.
bool packing = false;

class PackingUnderWay {
  public:
    PackingUnderWay() : previous_(packing) { packing = true; }
    ~PackingUnderWay() { packing = previous_; }
    PackingUnderWay(const PackingUnderWay&) = delete;
    PackingUnderWay& operator=(const PackingUnderWay&) = delete;

  private:
    bool previous_;
};

// A window disabled for a scope, its focus given back afterwards: the system then sends it no
// input, as to the owner of a modal dialog.
class DisabledWindow {
  public:
    explicit DisabledWindow(HWND window)
        : window_(window), focus_(GetFocus()), disabled_(window != nullptr && EnableWindow(window, FALSE) == 0) {}
    ~DisabledWindow() {
        if (disabled_ && IsWindow(window_)) {
            EnableWindow(window_, TRUE);
            if (focus_ != nullptr && IsWindow(focus_)) {
                SetFocus(focus_);
            }
        }
    }
    DisabledWindow(const DisabledWindow&) = delete;
    DisabledWindow& operator=(const DisabledWindow&) = delete;

  private:
    HWND window_;
    HWND focus_;
    bool disabled_;  // by us: it was enabled before
};

// temp\Velmora.exe: the name the program has inside the archive, whatever the exe is called.
// One separator at the join only: a temporary folder on a share starts with two.
std::wstring ProgramCopyPath() {
    const std::wstring temp = TemporaryFolder();
    return temp.empty() ? temp : temp + productName + L".exe";
}

// The shell's clipboard and its ZIP folder need OLE on this thread. The dialog has started
// it already, so this only counts once more; a failure leaves the program's own writer.
bool OleReady() {
    const HRESULT result = OleInitialize(nullptr);
    if (FAILED(result)) {
        NoteFailure(L"OleInitialize (ZIP folder)", static_cast<DWORD>(result));
        return false;
    }
    return true;
}

bool SameFile(const wchar_t* first, const wchar_t* second) {
    BY_HANDLE_FILE_INFORMATION info[2] = {};
    const wchar_t* paths[2] = {first, second};
    for (int i = 0; i < 2; ++i) {
        HANDLE file =
            CreateFileW(paths[i], FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return false;
        }
        ScopedKernelHandle open(file);
        if (!GetFileInformationByHandle(file, &info[i])) {
            return false;
        }
    }
    return info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
           info[0].nFileIndexHigh == info[1].nFileIndexHigh && info[0].nFileIndexLow == info[1].nFileIndexLow;
}

bool InvokeVerb(IContextMenu* menu, const char* verb) {
    ScopedMenu popup(CreatePopupMenu());
    if (!popup || FAILED(menu->QueryContextMenu(popup.Get(), 0, kFirstCommand, kLastCommand, CMF_EXPLORE))) {
        return false;
    }
    CMINVOKECOMMANDINFO invoke = {};
    invoke.cbSize = sizeof(invoke);
    invoke.lpVerb = verb;
    invoke.nShow = SW_SHOWNORMAL;
    return SUCCEEDED(menu->InvokeCommand(&invoke));
}

// Whether the clipboard holds exactly one file, `file`: the shell's cut of our copy.
bool ClipboardHoldsCutOf(const wchar_t* file) {
    if (!OpenClipboard(nullptr)) {
        return false;
    }
    bool ours = false;
    auto drop = static_cast<HDROP>(GetClipboardData(CF_HDROP));
    wchar_t name[MAX_PATH * 2] = L"";
    if (drop != nullptr && DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) == 1 &&
        DragQueryFileW(drop, 0, name, ARRAYSIZE(name)) > 0) {
        ours = CompareStringOrdinal(name, -1, file, -1, TRUE) == CSTR_EQUAL;
    }
    CloseClipboard();
    return ours;
}

bool IsInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST);
}

// Answers the program's messages while the ZIP folder moves `file`, which needs this thread's
// messages for the clipboard's data. Input for `owner` is dropped: nothing of the program may
// start inside the wait. A quit message ends it and goes back into the queue for the loop.
ShellMove WaitUntilMoved(const wchar_t* file, HWND owner) {
    const DWORD start = GetTickCount();
    while (GetFileAttributesW(file) != INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount() - start >= kMoveWaitMs) {
            return ShellMove::kNotMoved;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return ShellMove::kEnding;
            }
            if (IsInput(message.message) && owner != nullptr &&
                (message.hwnd == owner || IsChild(owner, message.hwnd))) {
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return ShellMove::kMoved;
}

// The user's clipboard back, unless something else has been copied since the cut.
void GiveClipboardBack(ClipboardSnapshot& saved, const wchar_t* file) {
    if (!ClipboardHoldsCutOf(file)) {
        return;
    }
    // SetClipboardData fails while the clipboard has no owner window.
    HWND owner = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (owner == nullptr) {
        NoteFailure(L"CreateWindowEx (clipboard owner)");
    }
    if (!saved.Restore(owner)) {
        NoteFailure(L"OpenClipboard (giving the clipboard back)");
    }
    if (owner != nullptr) {
        DestroyWindow(owner);
    }
}

void ShowNumberedError(const Text& code) {
    MessageBoxW(nullptr, (Text(L"Error ;) ") + code).c_str(), nullptr, MB_OK);
}

// The verbs on the shell's own objects: the copy's context menu, and the archive as a folder.
class ShellContextVerbs : public ShellZipVerbs {
  public:
    ShellContextVerbs(IShellFolder* desktop, ITEMIDLIST* archiveItem, const Text& archivePath, IContextMenu* fileMenu)
        : desktop_(desktop), archiveItem_(archiveItem), archivePath_(archivePath), fileMenu_(fileMenu) {}

    bool Cut() override { return InvokeVerb(fileMenu_, "cut"); }

    bool Paste() override {
        ComRef<IShellFolder> archiveFolder;
        ComRef<IContextMenu> archiveMenu;
        if (FAILED(desktop_->BindToObject(archiveItem_, nullptr, IID_IShellFolder, archiveFolder.Out()))) {
            ShowError(Text(L"4\n") + archivePath_);
        } else if (FAILED(archiveFolder->QueryInterface(IID_IContextMenu, archiveMenu.Out()))) {
            ShowError(L"5");
        } else if (!InvokeVerb(archiveMenu.Get(), "paste")) {
            ShowError(L"6");
        } else {
            return true;
        }
        return false;
    }

    void ShowError(const Text& code) override { ShowNumberedError(code); }

  private:
    IShellFolder* desktop_;
    ITEMIDLIST* archiveItem_;
    Text archivePath_;
    IContextMenu* fileMenu_;
};

// The ZIP folder's route from the shell's objects for the archive and the copy; nothing when
// the shell cannot name them, and the program's own writer goes instead.
std::optional<ShellMove> PackWithShell(const Text& archivePath, const std::wstring& copy, HWND owner) {
    ComRef<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(reinterpret_cast<IShellFolder**>(desktop.Out()))) || desktop.Get() == nullptr) {
        return std::nullopt;
    }
    ScopedItemIdList archiveItem(ILCreateFromPathW(archivePath.c_str()));
    ScopedItemIdList item(ILCreateFromPathW(copy.c_str()));
    if (!archiveItem || !item) {
        return std::nullopt;
    }
    ITEMIDLIST* parentList = nullptr;
    ITEMIDLIST* childItem = nullptr;
    if (!SplitItemId(item.Get(), &parentList, &childItem)) {
        ShowNumberedError(L"1\n");
        return ShellMove::kNotPasted;
    }
    ScopedItemIdList parent(parentList);
    ScopedItemIdList child(childItem);
    ComRef<IShellFolder> parentFolder;
    ComRef<IContextMenu> fileMenu;
    LPCITEMIDLIST children[] = {child.Get()};
    if (FAILED(desktop->BindToObject(parent.Get(), nullptr, IID_IShellFolder, parentFolder.Out())) ||
        FAILED(parentFolder->GetUIObjectOf(nullptr, 1, children, IID_IContextMenu, nullptr, fileMenu.Out()))) {
        ShowNumberedError(L"2");
        return ShellMove::kNotPasted;
    }
    ShellContextVerbs verbs(desktop.Get(), archiveItem.Get(), archivePath, fileMenu.Get());
    return CutAndPaste(verbs, copy.c_str(), owner);
}

}  // namespace

ShellMove CutAndPaste(ShellZipVerbs& verbs, const wchar_t* copy, HWND owner) {
    PackingUnderWay underWay;
    ClipboardSnapshot saved;
    saved.Take(nullptr);
    ShellMove result = ShellMove::kNotPasted;
    if (!verbs.Cut() || !ClipboardHoldsCutOf(copy)) {
        verbs.ShowError(L"3");
    } else {
        DisabledWindow busy(owner);
        if (verbs.Paste()) {
            result = WaitUntilMoved(copy, owner);
        }
    }
    GiveClipboardBack(saved, copy);
    return result;
}

bool PackProgramZip(const Text& archivePath, ArchiveStart start, HWND owner) {
    if (packing) {
        return false;
    }
    PackingUnderWay underWay;
    const std::wstring exe = ExecutablePath();
    const std::wstring copy = ProgramCopyPath();
    // A stale archive that another program holds open cannot be replaced: it is never sent.
    if (exe.empty() || copy.empty() ||
        (start == kFreshArchive && !WriteResourceToFile(ProgramInstance(), IDR_EMPTY_ZIP, archivePath.c_str(), kZipResourceType))) {
        ShowFileAccessError(nullptr, archivePath);
        return false;
    }
    // Run from the temporary folder under the product's name, the exe is its own copy: it is
    // added as it is, never moved or deleted.
    const bool ownCopy = !SameFile(exe.c_str(), copy.c_str());
    if (ownCopy && !CopyFileW(exe.c_str(), copy.c_str(), FALSE)) {
        ShowFileAccessError(nullptr, copy.c_str());
        return false;
    }
    const Text name = Text(productName) + L".exe";
    std::optional<ShellMove> moved;
    if (ownCopy && ZipFolderHandler() != nullptr && OleReady()) {
        moved = PackWithShell(archivePath, copy, owner);
    }
    if (!moved) {
        AddStoredFile(archivePath.c_str(), copy.c_str(), name.c_str());  // checked below
        if (ownCopy) {
            DeleteFileW(copy.c_str());
        }
    } else if (*moved == ShellMove::kNotPasted) {
        DeleteFileW(copy.c_str());
        return false;  // a numbered error has told the user
    } else if (*moved == ShellMove::kEnding) {
        return false;  // no mail after Exit, and nothing shown
    }
    // Not moved in time, the copy stays: the ZIP folder may still be moving it.
    if (!ArchiveHoldsFile(archivePath.c_str(), name.c_str(), exe.c_str())) {
        ShowFileAccessError(nullptr, archivePath);
        return false;
    }
    return true;
}

bool WriteResourceToFile(HMODULE module, int id, const wchar_t* path, const wchar_t* type) {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
        return false;
    }
    DWORD size = SizeofResource(module, found);
    HANDLE created =
        CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created == INVALID_HANDLE_VALUE) {
        return false;
    }
    ScopedKernelHandle file(created);
    DWORD written = 0;
    return WriteFile(file.Get(), bytes, size, &written, nullptr) && written == size;
}

bool SplitItemId(PCIDLIST_ABSOLUTE item, PIDLIST_ABSOLUTE* parent, PITEMID_CHILD* child) {
    PIDLIST_ABSOLUTE parentClone = ILClone(item);
    if (parentClone == nullptr) {
        return false;
    }
    ILRemoveLastID(parentClone);
    PITEMID_CHILD childClone = ILClone(ILFindLastID(item));
    if (childClone == nullptr) {
        ILFree(parentClone);
        return false;
    }
    *parent = parentClone;
    *child = childClone;
    return true;
}
