#include "extras/program_zip.h"

#include <shellapi.h>

#include <string>

#include "common/program.h"
#include "common/scoped_handle.h"
#include "extras/clipboard_snapshot.h"
#include "extras/zip_writer.h"
#include "resource_ids.h"

namespace {

constexpr wchar_t kZipResourceType[] = L"ZIP";
constexpr UINT kFirstCommand = 1;
constexpr UINT kLastCommand = 0x7FFF;
// The ZIP folder moves the copy into the archive on a thread of its own, after "paste" has
// returned; the cut must stay on the clipboard until it has.
constexpr DWORD kMoveWaitMs = 10000;

HMODULE ZipFolderHandler() {
    static HMODULE handler = LoadLibraryW(L"zipfldr.dll");  // kept for the rest of the run
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

void ShowError(const Text& code) {
    MessageBoxW(nullptr, (Text(L"Error ;) ") + code).c_str(), nullptr, MB_OK);
}

// temp\Velmora.exe: the name the program has inside the archive, whatever the exe is called.
// One separator at the join only: a temporary folder on a share starts with two.
std::wstring ProgramCopyPath() {
    const std::wstring temp = TemporaryFolder();
    return temp.empty() ? temp : temp + productName + L".exe";
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

// Copying the exe onto itself (run from the temporary folder) would cut the running program.
bool CopyProgramTo(const std::wstring& copy) {
    std::wstring exe = ExecutablePath();
    if (exe.empty()) {
        return false;
    }
    return SameFile(exe.c_str(), copy.c_str()) || CopyFileW(exe.c_str(), copy.c_str(), FALSE);
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
    menu->InvokeCommand(&invoke);
    return true;
}

// Whether the clipboard still holds the shell's cut of `file` alone.
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

// Keeps the program's windows answering while the ZIP folder moves `file`.
void WaitUntilMoved(const wchar_t* file) {
    DWORD start = GetTickCount();
    while (GetFileAttributesW(file) != INVALID_FILE_ATTRIBUTES && GetTickCount() - start < kMoveWaitMs) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));  // for the program's own loop
                return;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

// The user's clipboard back, unless something else has been copied since the cut.
void GiveClipboardBack(ClipboardSnapshot& saved, const wchar_t* file) {
    if (!ClipboardHoldsCutOf(file)) {
        return;
    }
    // SetClipboardData fails while the clipboard has no owner window.
    HWND owner = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    saved.Restore(owner);
    if (owner != nullptr) {
        DestroyWindow(owner);
    }
}

// The shell's "cut" on the file and "paste" on the archive: the ZIP folder moves the file in.
bool PasteIntoArchive(IShellFolder* desktop, ITEMIDLIST* archiveItem, const Text& archivePath, const wchar_t* file) {
    ScopedItemIdList item(ILCreateFromPathW(file));
    if (!item) {
        return false;
    }
    ITEMIDLIST* parentList = nullptr;
    ITEMIDLIST* childItem = nullptr;
    if (!SplitItemId(item.Get(), &parentList, &childItem)) {
        ShowError(L"1\n");
        return false;
    }
    ScopedItemIdList parent(parentList);
    ScopedItemIdList child(childItem);
    ComRef<IShellFolder> parentFolder;
    ComRef<IContextMenu> fileMenu;
    LPCITEMIDLIST children[] = {child.Get()};
    if (FAILED(desktop->BindToObject(parent.Get(), nullptr, IID_IShellFolder, parentFolder.Out())) ||
        FAILED(parentFolder->GetUIObjectOf(nullptr, 1, children, IID_IContextMenu, nullptr, fileMenu.Out()))) {
        ShowError(L"2");
        return false;
    }
    ClipboardSnapshot saved;
    saved.Take(nullptr);
    if (!InvokeVerb(fileMenu.Get(), "cut")) {
        ShowError(L"3");
        return false;
    }
    ComRef<IShellFolder> archiveFolder;
    ComRef<IContextMenu> archiveMenu;
    bool pasted = false;
    if (FAILED(desktop->BindToObject(archiveItem, nullptr, IID_IShellFolder, archiveFolder.Out()))) {
        ShowError(Text(L"4\n") + archivePath);
    } else if (FAILED(archiveFolder->QueryInterface(IID_IContextMenu, archiveMenu.Out()))) {
        ShowError(L"5");
    } else if (!InvokeVerb(archiveMenu.Get(), "paste")) {
        ShowError(L"6");
    } else {
        pasted = true;
        WaitUntilMoved(file);
    }
    GiveClipboardBack(saved, file);
    return pasted;
}

bool PackWithShell(const Text& archivePath, const std::wstring& copy) {
    ComRef<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(reinterpret_cast<IShellFolder**>(desktop.Out()))) || desktop.Get() == nullptr) {
        return false;
    }
    ScopedItemIdList archiveItem(ILCreateFromPathW(archivePath.c_str()));
    if (!archiveItem) {
        return false;
    }
    return PasteIntoArchive(desktop.Get(), archiveItem.Get(), archivePath, copy.c_str());
}

}  // namespace

bool PackProgramZip(const Text& archivePath, int flag) {
    // The wait for the ZIP folder answers messages: a second command meanwhile must not start.
    static bool packing = false;
    if (packing) {
        return false;
    }
    bool shellZip = ZipFolderHandler() != nullptr;
    if (flag == 0 && !WriteResourceToFile(ProgramInstance(), IDR_EMPTY_ZIP, archivePath.c_str(), kZipResourceType)) {
        return false;
    }
    OleInitialize(nullptr);
    std::wstring copy = ProgramCopyPath();
    if (copy.empty() || !CopyProgramTo(copy)) {
        return false;
    }
    if (!shellZip) {
        // The copy stays in the temporary folder, as it does until a paste has moved it.
        Text name = Text(productName) + L".exe";
        return AddStoredFile(archivePath.c_str(), copy.c_str(), name.c_str());
    }
    packing = true;
    bool pasted = PackWithShell(archivePath, copy);
    packing = false;
    return pasted;
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
