#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "extras/clipboard_snapshot.h"
#include "extras/program_zip.h"
#include "resource_ids.h"
#include "support/program_resources.h"
#include "tray/tray_menu.h"

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

// Takes a snapshot of the clipboard, puts a cut in its place and gives the snapshot back.
bool SnapshotSurvivesACut(HWND owner) {
    ClipboardSnapshot saved;
    if (!saved.Take(nullptr) || !OpenClipboard(owner)) {
        return false;
    }
    EmptyClipboard();
    SetClipboardBytes(CF_UNICODETEXT, L"cut", sizeof(L"cut"));
    CloseClipboard();
    return saved.Restore(owner);
}

}  // namespace

TEST(ProgramZip, EmptyArchiveResourceIsTheGerman22ByteEndRecordAndReplacesAnOldFile) {
    HMODULE exe = LoadProgramResources();
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

    ASSERT_TRUE(SnapshotSurvivesACut(owner));

    EXPECT_EQ(ClipboardBytes(CF_UNICODETEXT), std::string(reinterpret_cast<const char*>(userText), sizeof(userText)));
    EXPECT_EQ(ClipboardBytes(privateFormat), std::string(privateBytes, sizeof(privateBytes)));
    EXPECT_EQ(ClipboardBytes(CF_TEXT).substr(0, 15), "the user's text");  // made up again by the system
    DestroyWindow(owner);
}

TEST(ClipboardSnapshot, GivesBackAPictureAsTheDibItWasWithItsAlpha) {
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(header);
    header.biWidth = 2;
    header.biHeight = 1;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    header.biSizeImage = 8;
    const unsigned char pixels[] = {0x10, 0x20, 0x30, 0x80, 0x40, 0x50, 0x60, 0x20};  // half and one-eighth opaque
    std::string dib(reinterpret_cast<const char*>(&header), sizeof(header));
    dib.append(reinterpret_cast<const char*>(pixels), sizeof(pixels));
    HWND owner = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    SetClipboardBytes(CF_DIB, dib.data(), dib.size());
    CloseClipboard();

    ASSERT_TRUE(SnapshotSurvivesACut(owner));

    EXPECT_EQ(ClipboardBytes(CF_DIB).substr(0, dib.size()), dib);
    DestroyWindow(owner);
}

namespace {

// Files on the clipboard as Explorer's "cut" leaves them: a file list to be moved.
void PutFilesOnClipboard(const std::vector<std::wstring>& files) {
    std::wstring names;
    for (const std::wstring& file : files) {
        names += file + L'\0';
    }
    names += L'\0';
    std::string drop(sizeof(DROPFILES), '\0');
    auto* header = reinterpret_cast<DROPFILES*>(drop.data());
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    drop.append(reinterpret_cast<const char*>(names.data()), names.size() * sizeof(wchar_t));
    const DWORD move = DROPEFFECT_MOVE;
    HWND owner = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (OpenClipboard(owner)) {
        EmptyClipboard();
        SetClipboardBytes(CF_HDROP, drop.data(), drop.size());
        SetClipboardBytes(RegisterClipboardFormatW(CFSTR_PREFERREDDROPEFFECT), &move, sizeof(move));
        CloseClipboard();
    }
    DestroyWindow(owner);
}

void PutTextOnClipboard(const wchar_t* text) {
    HWND owner = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (OpenClipboard(owner)) {
        EmptyClipboard();
        SetClipboardBytes(CF_UNICODETEXT, text, (wcslen(text) + 1) * sizeof(wchar_t));
        CloseClipboard();
    }
    DestroyWindow(owner);
}

std::vector<std::wstring> FilesOnClipboard() {
    std::vector<std::wstring> files;
    if (OpenClipboard(nullptr)) {
        auto drop = static_cast<HDROP>(GetClipboardData(CF_HDROP));
        UINT count = drop != nullptr ? DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) : 0;
        for (UINT i = 0; i < count; ++i) {
            wchar_t name[MAX_PATH] = L"";
            DragQueryFileW(drop, i, name, MAX_PATH);
            files.push_back(name);
        }
        CloseClipboard();
    }
    return files;
}

std::wstring TextOnClipboard() {
    std::string bytes = ClipboardBytes(CF_UNICODETEXT);
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()),
                        wcsnlen(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2));
}

// The shell as the ZIP folder's route sees it: its cut puts the chosen files on the clipboard
// (none: the clipboard stays as it is) and reports `cutSucceeds`; its paste moves the copy
// away unless the test holds the wait open.
class FakeShell : public ShellZipVerbs {
  public:
    explicit FakeShell(std::wstring copy) : copy_(std::move(copy)) {}
    bool Cut() override {
        if (!cutFiles.empty()) {
            PutFilesOnClipboard(cutFiles);
        }
        return cutSucceeds;
    }
    bool Paste() override {
        ++pastes;
        if (movesCopy) {
            DeleteFileW(copy_.c_str());
        }
        if (duringPaste) {
            duringPaste();
        }
        return true;
    }
    void ShowError(const Text& code) override { errors += code.c_str(); }

    bool cutSucceeds = true;
    std::vector<std::wstring> cutFiles;
    bool movesCopy = true;
    std::function<void()> duringPaste;
    int pastes = 0;
    std::wstring errors;

  private:
    std::wstring copy_;
};

class ShellZipRoute : public ::testing::Test {
  protected:
    void SetUp() override {
        CreateDirectoryW(folder_.c_str(), nullptr);
        for (const std::wstring& file : {copy_, first_, second_}) {
            WriteBytes(file, "MZ and the rest");
        }
    }
    void TearDown() override {
        for (const std::wstring& file : {copy_, first_, second_}) {
            DeleteFileW(file.c_str());
        }
        RemoveDirectoryW(folder_.c_str());
    }
    bool UsersFilesUntouched() const {
        return ReadBytes(first_) == "MZ and the rest" && ReadBytes(second_) == "MZ and the rest";
    }

    const std::wstring folder_ = TempPath(L"velmora_unit_shell_route");
    const std::wstring copy_ = folder_ + L"\\Velmora.exe";
    const std::wstring first_ = folder_ + L"\\letter.doc";
    const std::wstring second_ = folder_ + L"\\photo.jpg";
    FakeShell shell_{copy_};
};

}  // namespace

TEST_F(ShellZipRoute, CutThatFailsWhileTheUserHasCutTwoFilesPastesNothingAndLeavesThemAlone) {
    PutFilesOnClipboard({first_, second_});
    shell_.cutSucceeds = false;
    EXPECT_EQ(CutAndPaste(shell_, copy_.c_str(), nullptr), ShellMove::kNotPasted);
    EXPECT_EQ(shell_.pastes, 0);
    EXPECT_EQ(shell_.errors, L"3");
    EXPECT_EQ(FilesOnClipboard(), (std::vector<std::wstring>{first_, second_}));
    EXPECT_TRUE(UsersFilesUntouched());
}

TEST_F(ShellZipRoute, CutThatLeavesAnotherFileOnTheClipboardPastesNothingAndLeavesItAlone) {
    PutFilesOnClipboard({first_});
    EXPECT_EQ(CutAndPaste(shell_, copy_.c_str(), nullptr), ShellMove::kNotPasted);
    EXPECT_EQ(shell_.pastes, 0);
    EXPECT_EQ(shell_.errors, L"3");
    EXPECT_EQ(FilesOnClipboard(), std::vector<std::wstring>{first_});
    EXPECT_TRUE(UsersFilesUntouched());
}

TEST_F(ShellZipRoute, CutOfTheCopyAlonePastesItIntoTheArchiveAndGivesTheClipboardBack) {
    PutTextOnClipboard(L"the user's text");
    shell_.cutFiles = {copy_};
    EXPECT_EQ(CutAndPaste(shell_, copy_.c_str(), nullptr), ShellMove::kMoved);
    EXPECT_EQ(shell_.pastes, 1);
    EXPECT_EQ(shell_.errors, L"");
    EXPECT_EQ(TextOnClipboard(), L"the user's text");
}

namespace {

constexpr UINT kSecondSend = WM_APP + 1;
struct DuringWait {
    int keys = 0;
    bool ownerEnabled = true;
    bool secondPacked = true;
    bool shownByTray = true;
    std::wstring archive;
} duringWait;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN) {
        ++duringWait.keys;
    } else if (message == kSecondSend) {
        duringWait.ownerEnabled = IsWindowEnabled(window) != 0;
        // The archive as it is (flag 1): a packing that went ahead would show in it.
        duringWait.secondPacked = PackProgramZip(duringWait.archive.c_str(), kAddToArchive, window);
        TrayIconClicked(WM_LBUTTONDOWN, window);
        duringWait.shownByTray = IsWindowVisible(window) != 0;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

// The wait for the ZIP folder answers messages; a second "Send via e-mail", the tray icon and
// the keyboard start nothing meanwhile, and Exit ends the wait without the archive counting.
TEST_F(ShellZipRoute, WhileTheShellMovesTheCopyNothingElseStartsAndExitEndsTheWait) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = OwnerProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VelmoraUnitWaitOwner";
    RegisterClassW(&windowClass);
    HWND owner = CreateWindowExW(0, windowClass.lpszClassName, nullptr, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 windowClass.hInstance, nullptr);
    ASSERT_NE(owner, nullptr);
    duringWait = {};
    duringWait.archive = folder_ + L"\\Velmora.zip";
    const std::string emptyArchive = std::string("PK\x05\x06", 4) + std::string(18, '\0');
    WriteBytes(duringWait.archive, emptyArchive);
    PutTextOnClipboard(L"the user's text");
    shell_.cutFiles = {copy_};
    shell_.movesCopy = false;  // the wait stays open until something ends it
    shell_.duringPaste = [owner] {
        PostMessageW(owner, WM_KEYDOWN, VK_RETURN, 0);
        PostMessageW(owner, kSecondSend, 0, 0);
        PostQuitMessage(5);  // what Exit in the tray menu does
    };

    EXPECT_EQ(CutAndPaste(shell_, copy_.c_str(), owner), ShellMove::kEnding);
    EXPECT_EQ(duringWait.keys, 0);
    EXPECT_FALSE(duringWait.ownerEnabled);
    EXPECT_FALSE(duringWait.secondPacked);
    EXPECT_TRUE(ReadBytes(duringWait.archive) == emptyArchive) << "a second packing wrote the archive";
    EXPECT_FALSE(duringWait.shownByTray);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(TextOnClipboard(), L"the user's text");
    MSG quit = {};
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit goes on to the program's loop";
    EXPECT_EQ(quit.wParam, 5u);
    DeleteFileW(duringWait.archive.c_str());
    DestroyWindow(owner);
}
