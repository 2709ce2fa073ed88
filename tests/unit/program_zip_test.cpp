#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "extras/clipboard_snapshot.h"
#include "extras/program_zip.h"
#include "resource_ids.h"

namespace {

std::wstring TempPath(const wchar_t* name) {
    wchar_t temp[MAX_PATH + 1] = L"";
    GetTempPathW(ARRAYSIZE(temp), temp);
    return std::wstring(temp) + name;
}

std::string ReadBytes(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
}

// The built exe holds the resources; the unit tests link only the code.
std::wstring ProgramExe() {
    std::wstring path = L"Z:";
    for (const char* c = VELMORA_EXE_PATH; *c != '\0'; ++c) {
        path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    }
    return path;
}

bool SetClipboardBytes(UINT format, const void* data, size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(memory), data, size);
    GlobalUnlock(memory);
    return SetClipboardData(format, memory) != nullptr;
}

std::string ClipboardBytes(UINT format) {
    std::string bytes;
    if (OpenClipboard(nullptr)) {
        HANDLE data = GetClipboardData(format);
        if (data != nullptr) {
            bytes.assign(static_cast<const char*>(GlobalLock(data)), GlobalSize(data));
            GlobalUnlock(data);
        }
        CloseClipboard();
    }
    return bytes;
}

}  // namespace

TEST(ProgramZip, EmptyArchiveResourceIsTheGerman22ByteEndRecordAndReplacesAnOldFile) {
    HMODULE exe = LoadLibraryExW(ProgramExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    EXPECT_NE(FindResourceExW(exe, L"ZIP", MAKEINTRESOURCEW(IDR_EMPTY_ZIP), MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN)),
              nullptr);
    const std::wstring archive = TempPath(L"velmora_unit_empty.zip");
    WriteBytes(archive, std::string(100, 'x'));
    EXPECT_TRUE(WriteResourceToFile(exe, IDR_EMPTY_ZIP, archive.c_str(), L"ZIP"));
    EXPECT_EQ(ReadBytes(archive), std::string("PK\x05\x06", 4) + std::string(18, '\0'));
    // A resource the exe lacks leaves the file alone.
    EXPECT_FALSE(WriteResourceToFile(exe, IDR_EMPTY_ZIP + 1, archive.c_str(), L"ZIP"));
    EXPECT_EQ(ReadBytes(archive).size(), 22u);
    DeleteFileW(archive.c_str());
    FreeLibrary(exe);
}

TEST(ProgramZip, SplitItemIdGivesTheParentFolderAndTheLastItem) {
    const std::wstring folder = TempPath(L"velmora_unit_split");
    const std::wstring file = folder + L"\\Velmora.exe";
    CreateDirectoryW(folder.c_str(), nullptr);
    WriteBytes(file, "MZ");
    ITEMIDLIST* item = ILCreateFromPathW(file.c_str());
    ITEMIDLIST* folderItem = ILCreateFromPathW(folder.c_str());
    ASSERT_NE(item, nullptr);
    ASSERT_NE(folderItem, nullptr);
    ITEMIDLIST* parent = nullptr;
    ITEMIDLIST* child = nullptr;
    ASSERT_TRUE(SplitItemId(item, &parent, &child));
    EXPECT_TRUE(ILIsEqual(parent, folderItem));
    EXPECT_NE(child, ILFindLastID(item));  // a clone, not a pointer into the list
    ITEMIDLIST* joined = ILCombine(parent, child);
    EXPECT_TRUE(ILIsEqual(joined, item));
    for (ITEMIDLIST* list : {item, folderItem, parent, child, joined}) {
        ILFree(list);
    }
    DeleteFileW(file.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST(ClipboardSnapshot, GivesBackTheUsersTextAndPrivateFormats) {
    const UINT privateFormat = RegisterClipboardFormatW(L"Velmora unit test format");
    const wchar_t userText[] = L"the user's text";
    const char privateBytes[] = "\x01\x02\x00\x03private";
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    HWND owner = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    SetClipboardBytes(CF_UNICODETEXT, userText, sizeof(userText));
    SetClipboardBytes(privateFormat, privateBytes, sizeof(privateBytes));
    CloseClipboard();

    ClipboardSnapshot saved;
    ASSERT_TRUE(saved.Take(nullptr));
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    SetClipboardBytes(CF_UNICODETEXT, L"cut", sizeof(L"cut"));
    CloseClipboard();
    EXPECT_TRUE(saved.Restore(owner));

    EXPECT_EQ(ClipboardBytes(CF_UNICODETEXT), std::string(reinterpret_cast<const char*>(userText), sizeof(userText)));
    EXPECT_EQ(ClipboardBytes(privateFormat), std::string(privateBytes, sizeof(privateBytes)));
    EXPECT_EQ(ClipboardBytes(CF_TEXT).substr(0, 15), "the user's text");  // made up again by the system
    DestroyWindow(owner);
}
