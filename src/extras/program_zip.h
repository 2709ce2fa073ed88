// Packing a copy of the program into a ZIP archive, to send it by e-mail: the shell's ZIP
// folder adds the copy where Windows has one; wherever it cannot, the program writes the entry
// itself.
#pragma once
#include <windows.h>

#include <shlobj.h>

#include <string>

#include "common/text.h"

// Puts the running exe, named after the product, into the archive `archivePath`. With
// kFreshArchive the archive is first made anew as an empty one; with kAddToArchive the file is
// added to the archive as it is. True only when the archive's directory then lists the exe
// with its size and CRC-32. False when the user has been told why (a file access error), and,
// with nothing shown, while another packing waits for the shell or when the program was asked
// to end during that wait. `owner` (the settings dialog) takes no input while the shell moves
// the copy.
enum ArchiveStart : int { kFreshArchive = 0, kAddToArchive = 1 };
bool PackProgramZip(const Text& archivePath, ArchiveStart start, HWND owner);

// The shell's ZIP folder as the packing uses it, for a test to stand in for. Each step is
// false when the shell cannot take it; why goes to the debugger.
class ZipFolder {
  public:
    virtual ~ZipFolder() = default;
    // Finds the shell's objects for `copy` and for `archive` as a folder.
    virtual bool Find(const wchar_t* archive, const wchar_t* copy) = 0;
    // "cut" on the copy: true when the shell carried it out.
    virtual bool Cut() = 0;
    // "paste" on the archive folder: true when the shell took it.
    virtual bool Paste() = 0;
};

// What a packing works with; PackProgramZip fills it from the running program.
struct ZipPacking {
    std::wstring exe;   // the program to pack
    std::wstring copy;  // its copy under the product's name, for the shell to move
    Text archive;
    ArchiveStart start = kFreshArchive;
    HWND owner = nullptr;
    HMODULE resources = nullptr;  // holds the empty archive
    DWORD moveWaitMs = 10000;     // how long the shell may take to move the copy
};

// PackProgramZip through `folder` (null: straight to the program's own writer).
bool PackProgramZipWith(ZipFolder* folder, const ZipPacking& packing);

enum class ShellMove {
    kMoved,      // the copy has left for the archive
    kNotPasted,  // "paste" was not invoked: the clipboard and the files are as they were
    kNotMoved,   // pasted, but the copy was still there when the wait ran out
    kEnding,     // pasted, and the program was asked to end meanwhile
};

// The ZIP folder's route for `copy`: "cut" on it, then "paste" on the archive only when the
// cut succeeded and the clipboard holds that one file (anything else there is the user's,
// which a paste would move or add into the archive). Then up to `waitMs` for the ZIP folder,
// on a thread of its own, to move the copy: the program's messages are answered, with `owner`
// disabled and its input dropped. The user's clipboard comes back if it still holds the cut.
ShellMove CutAndPaste(ZipFolder& folder, const wchar_t* copy, HWND owner, DWORD waitMs);

// Writes the bytes of resource `id` of type `type` in `module` as the whole file `path`.
// False when the resource is missing or the file cannot be written.
bool WriteResourceToFile(HMODULE module, int id, const wchar_t* path, const wchar_t* type);

// Clones of the parent list and of the last item of `item`; the caller frees both with
// ILFree. False, with nothing left to free, when a clone cannot be made.
bool SplitItemId(PCIDLIST_ABSOLUTE item, PIDLIST_ABSOLUTE* parent, PITEMID_CHILD* child);
