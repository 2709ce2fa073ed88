// Makes ZIP archives with the program's own code, for a reader outside the program to check:
//
//   zip_probe EXE ARCHIVE [NAME FILE]...
//
// ARCHIVE starts as EXE's empty-archive resource ("-" for EXE: ARCHIVE is taken as it is);
// each FILE is then added under NAME. Exit code 0 when every step worked, 1 when one was
// refused, 2 for a wrong call.
#include <windows.h>

#include "extras/program_zip.h"
#include "extras/zip_writer.h"
#include "resource_ids.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 3 || argc % 2 == 0) {
        return 2;
    }
    if (lstrcmpW(argv[1], L"-") != 0) {
        HMODULE exe = LoadLibraryExW(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (exe == nullptr) {
            return 2;
        }
        if (!WriteResourceToFile(exe, IDR_EMPTY_ZIP, argv[2], L"ZIP")) {
            return 1;
        }
    }
    for (int i = 3; i + 1 < argc; i += 2) {
        if (!AddStoredFile(argv[2], argv[i + 1], argv[i])) {
            return 1;
        }
    }
    return 0;
}
