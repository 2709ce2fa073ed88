#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

// The names Windows 10 and 11 keep under HKLM\SYSTEM\CurrentControlSet\Control\Session
// Manager\KnownDLLs (and ntdll, which every process has before its imports are looked at): the
// loader takes these from the system whatever lies beside the exe.
const std::set<std::string> kKnownDlls = {
    "advapi32.dll", "clbcatq.dll",  "combase.dll", "comdlg32.dll", "coml2.dll",  "difxapi.dll", "gdi32.dll",
    "gdiplus.dll",  "imagehlp.dll", "imm32.dll",   "kernel32.dll", "msctf.dll",  "msvcrt.dll",  "normaliz.dll",
    "nsi.dll",      "ntdll.dll",    "ole32.dll",   "oleaut32.dll", "psapi.dll",  "rpcrt4.dll",  "sechost.dll",
    "setupapi.dll", "shcore.dll",   "shell32.dll", "shlwapi.dll",  "user32.dll", "wldap32.dll", "ws2_32.dll"};

std::string ReadExe() {
    std::string path;
    for (const char* c = VELMORA_EXE_PATH; *c != '\0'; ++c) {
        path += *c == '/' ? '\\' : *c;
    }
    std::ifstream file("Z:" + path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

template <typename T>
const T* At(const std::string& image, size_t offset) {
    return offset + sizeof(T) <= image.size() ? reinterpret_cast<const T*>(image.data() + offset) : nullptr;
}

// The names in the import directory of a PE file, lower-cased; empty if the file is not one.
std::vector<std::string> ImportedDlls(const std::string& image) {
    std::vector<std::string> names;
    const auto* dos = At<IMAGE_DOS_HEADER>(image, 0);
    const auto* nt = dos != nullptr ? At<IMAGE_NT_HEADERS>(image, dos->e_lfanew) : nullptr;
    if (nt == nullptr || nt->Signature != IMAGE_NT_SIGNATURE) {
        return names;
    }
    const auto* sections = IMAGE_FIRST_SECTION(nt);
    auto fileOffset = [&](DWORD rva) -> size_t {
        for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
            const IMAGE_SECTION_HEADER& s = sections[i];
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.SizeOfRawData) {
                return rva - s.VirtualAddress + s.PointerToRawData;
            }
        }
        return image.size();
    };
    const DWORD directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (size_t offset = fileOffset(directory);; offset += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const auto* entry = At<IMAGE_IMPORT_DESCRIPTOR>(image, offset);
        if (entry == nullptr || entry->Name == 0) {
            return names;
        }
        std::string name(image.c_str() + std::min(fileOffset(entry->Name), image.size()));
        std::transform(name.begin(), name.end(), name.begin(),
                       [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
        names.push_back(name);
    }
}

}  // namespace

// What the exe imports is loaded before its first line runs, and anything but a known DLL is
// looked for beside the exe first: a Downloads folder. The rest is loaded after the search is
// restricted to the system directory.
TEST(ExeImports, AreOnlyDllsWindowsKeepsInItsKnownDllList) {
    const std::vector<std::string> imported = ImportedDlls(ReadExe());
    ASSERT_GE(imported.size(), 3u) << "the exe's import directory was not read";
    for (const std::string& name : imported) {
        EXPECT_TRUE(kKnownDlls.count(name) == 1) << name << " is imported at load time, and is no known DLL";
    }
    EXPECT_TRUE(std::find(imported.begin(), imported.end(), "user32.dll") != imported.end());
}
