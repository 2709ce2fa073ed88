// Packing a copy of the program into a ZIP archive, to send it by e-mail: the shell's ZIP
// folder adds the copy where Windows has one; elsewhere the program writes the entry itself.
#pragma once
#include <windows.h>

#include <shlobj.h>

#include "common/text.h"

// Puts a copy of the running exe, named after the product, into the archive `archivePath`.
// With `flag` 0 the archive is first made anew as an empty one; otherwise the file is added to
// the archive as it is. True when the shell was asked to paste the copy into the archive, or
// our own writer added it.
bool PackProgramZip(const Text& archivePath, int flag);

// Writes the bytes of resource `id` of type `type` in `module` as the whole file `path`.
// False when the resource is missing or the file cannot be written.
bool WriteResourceToFile(HMODULE module, int id, const wchar_t* path, const wchar_t* type);

// Clones of the parent list and of the last item of `item`; the caller frees both with
// ILFree. False, with nothing left to free, when a clone cannot be made.
bool SplitItemId(PCIDLIST_ABSOLUTE item, PIDLIST_ABSOLUTE* parent, PITEMID_CHILD* child);
