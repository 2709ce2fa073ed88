#include "extras/program_zip.h"

#include <shellapi.h>

#include <string>

#include "common/com_ref.h"
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

HMODULE ZipFolderHandler() {
    static HMODULE handler = LoadSystemLibrary(L"zipfldr.dll");  // kept for the rest of the run
    return handler;
}

void FreeItemIdList(ITEMIDLIST* list) {
    ILFree(list);
}
using ScopedItemIdList = ScopedHandle<ITEMIDLIST*, FreeItemIdList>;

// Set while a packing runs. Its wait answers messages, so a second "Send via e-mail" can
// arrive meanwhile; it must not write the archive the ZIP folder is filling.
bool packingNow = false;

class PackingUnderWay {
  public:
    PackingUnderWay() : previous_(packingNow) { packingNow = true; }
    ~PackingUnderWay() { packingNow = previous_; }
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
    OpenedClipboard clipboard(nullptr);
    if (!clipboard) {
        return false;
    }
    auto drop = static_cast<HDROP>(GetClipboardData(CF_HDROP));
    wchar_t name[MAX_PATH * 2] = L"";
    return drop != nullptr && DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) == 1 &&
           DragQueryFileW(drop, 0, name, ARRAYSIZE(name)) > 0 &&
           CompareStringOrdinal(name, -1, file, -1, TRUE) == CSTR_EQUAL;
}

bool IsInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST);
}

// Answers the program's messages while the ZIP folder moves `file`, which needs this thread's
// messages for the clipboard's data. Input for `owner` is dropped: nothing of the program may
// start inside the wait. A quit message ends it and goes back into the queue for the loop.
ShellMove WaitUntilMoved(const wchar_t* file, HWND owner, DWORD waitMs) {
    const DWORD start = GetTickCount();
    while (GetFileAttributesW(file) != INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount() - start >= waitMs) {
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

// The shell's own objects: the copy's context menu, and the archive as a folder. A step the
// shell refuses goes to the debugger with its number; the user sees the archive made anyway.
class SystemZipFolder : public ZipFolder {
  public:
    bool Find(const wchar_t* archive, const wchar_t* copy) override {
        const HRESULT found = SHGetDesktopFolder(reinterpret_cast<IShellFolder**>(desktop_.Out()));
        if (FAILED(found) || desktop_.Get() == nullptr) {
            NoteFailure(L"SHGetDesktopFolder (ZIP folder)", static_cast<DWORD>(found));
            return false;
        }
        archiveItem_.Reset(ILCreateFromPathW(archive));
        if (!archiveItem_) {
            NoteFailure(L"ILCreateFromPath (the archive)");
            return false;
        }
        return FindCopyMenu(copy);
    }

    bool Cut() override { return InvokeVerb(fileMenu_.Get(), "cut"); }

    // The menu of the archive itself, the one behind a folder's empty space, is the folder's
    // view object: GetUIObjectOf gives menus of the items inside, and the folder object is not
    // documented to be a menu.
    bool Paste() override {
        ComRef<IShellFolder> archiveFolder;
        ComRef<IContextMenu> archiveMenu;
        HRESULT result = desktop_->BindToObject(archiveItem_.Get(), nullptr, IID_IShellFolder, archiveFolder.Out());
        if (FAILED(result)) {
            NoteFailure(L"ZIP folder step 4: the archive as a folder", static_cast<DWORD>(result));
        } else if (FAILED(result = archiveFolder->CreateViewObject(nullptr, IID_IContextMenu, archiveMenu.Out()))) {
            NoteFailure(L"ZIP folder step 5: the archive folder's context menu", static_cast<DWORD>(result));
        } else if (!InvokeVerb(archiveMenu.Get(), "paste")) {
            NoteFailure(L"ZIP folder step 6: paste", ERROR_INVALID_FUNCTION);
        } else {
            return true;
        }
        return false;
    }

  private:
    // The copy's context menu, from its parent folder.
    bool FindCopyMenu(const wchar_t* copy) {
        ScopedItemIdList item(ILCreateFromPathW(copy));
        ITEMIDLIST* parentList = nullptr;
        ITEMIDLIST* childItem = nullptr;
        if (!item || !SplitItemId(item.Get(), &parentList, &childItem)) {
            NoteFailure(L"ZIP folder step 1: the copy's item");
            return false;
        }
        ScopedItemIdList parent(parentList);
        ScopedItemIdList child(childItem);
        ComRef<IShellFolder> parentFolder;
        LPCITEMIDLIST children[] = {child.Get()};
        HRESULT result = desktop_->BindToObject(parent.Get(), nullptr, IID_IShellFolder, parentFolder.Out());
        if (SUCCEEDED(result)) {
            result = parentFolder->GetUIObjectOf(nullptr, 1, children, IID_IContextMenu, nullptr, fileMenu_.Out());
        }
        if (FAILED(result)) {
            NoteFailure(L"ZIP folder step 2: the copy's context menu", static_cast<DWORD>(result));
            return false;
        }
        return true;
    }

    ComRef<IShellFolder> desktop_;
    ScopedItemIdList archiveItem_;
    ComRef<IContextMenu> fileMenu_;
};

// The shell's route: a copy of the program, which the ZIP folder moves into the archive.
// kNotPasted whenever it did not get as far as the paste.
ShellMove PackWithShell(ZipFolder& folder, const ZipPacking& packing) {
    if (!CopyFileW(packing.exe.c_str(), packing.copy.c_str(), FALSE)) {
        NoteFailure(L"CopyFile (the program's copy for the ZIP folder)");
        return ShellMove::kNotPasted;
    }
    ShellMove moved = ShellMove::kNotPasted;
    if (folder.Find(packing.archive.c_str(), packing.copy.c_str())) {
        moved = CutAndPaste(folder, packing.copy.c_str(), packing.owner, packing.moveWaitMs);
    }
    if (moved != ShellMove::kMoved && moved != ShellMove::kEnding) {
        // Gone before the program writes the archive itself: a paste that the shell still
        // carries out late then finds nothing to move.
        DeleteFileW(packing.copy.c_str());
    }
    return moved;
}

// The archive holding the exe, checked: the ZIP folder's work, or else the program's own
// writer's, from the exe itself. Where the ZIP folder had the archive, a fresh one is made
// empty again first: a move that ran out of time may have left part of its work there.
bool ArchiveHoldsProgram(const ZipPacking& packing, const Text& name, bool restart) {
    if (ArchiveHoldsFile(packing.archive.c_str(), name.c_str(), packing.exe.c_str())) {
        return true;
    }
    if (restart && !WriteResourceToFile(packing.resources, IDR_EMPTY_ZIP, packing.archive.c_str(), kZipResourceType)) {
        return false;
    }
    return AddStoredFile(packing.archive.c_str(), packing.exe.c_str(), name.c_str()) &&
           ArchiveHoldsFile(packing.archive.c_str(), name.c_str(), packing.exe.c_str());
}

}  // namespace

ShellMove CutAndPaste(ZipFolder& folder, const wchar_t* copy, HWND owner, DWORD waitMs) {
    PackingUnderWay underWay;
    ClipboardSnapshot saved;
    saved.Take(nullptr);
    ShellMove result = ShellMove::kNotPasted;
    if (!folder.Cut() || !ClipboardHoldsCutOf(copy)) {
        NoteFailure(L"ZIP folder step 3: cut", ERROR_INVALID_FUNCTION);
    } else {
        DisabledWindow busy(owner);
        if (folder.Paste()) {
            result = WaitUntilMoved(copy, owner, waitMs);
        }
    }
    GiveClipboardBack(saved, copy);
    return result;
}

bool PackProgramZip(const Text& archivePath, ArchiveStart start, HWND owner) {
    ZipPacking packing;
    packing.exe = ExecutablePath();
    packing.copy = ProgramCopyPath();
    packing.archive = archivePath;
    packing.start = start;
    packing.owner = owner;
    packing.resources = ProgramInstance();
    SystemZipFolder shell;
    const bool shellThere = ZipFolderHandler() != nullptr && OleReady();
    return PackProgramZipWith(shellThere ? &shell : nullptr, packing);
}

bool PackProgramZipWith(ZipFolder* folder, const ZipPacking& packing) {
    if (packingNow) {
        return false;
    }
    PackingUnderWay underWay;
    // A stale archive that another program holds open cannot be replaced: it is never sent.
    if (packing.exe.empty() ||
        (packing.start == kFreshArchive &&
         !WriteResourceToFile(packing.resources, IDR_EMPTY_ZIP, packing.archive.c_str(), kZipResourceType))) {
        ShowFileAccessError(nullptr, packing.archive);
        return false;
    }
    const Text name = Text(productName) + L".exe";
    // Run from the temporary folder under the product's name, the exe is its own copy: it is
    // added as it is, never moved or deleted.
    ShellMove moved = ShellMove::kNotPasted;
    if (folder != nullptr && !packing.copy.empty() && !SameFile(packing.exe.c_str(), packing.copy.c_str())) {
        moved = PackWithShell(*folder, packing);
    }
    if (moved == ShellMove::kEnding) {
        return false;  // no mail after Exit, and nothing shown
    }
    // Whatever stopped the shell (no handler for .zip, a verb missing, a paste not done in
    // time), the mail still goes, with the archive the program writes itself.
    const bool shellHadIt = moved != ShellMove::kNotPasted;
    if (!ArchiveHoldsProgram(packing, name, shellHadIt && packing.start == kFreshArchive)) {
        ShowFileAccessError(nullptr, packing.archive);
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
