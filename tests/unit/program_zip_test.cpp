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
#include "extras/zip_writer.h"
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

// The shell's ZIP folder as the packing sees it: its objects found or not, its cut puts the
// chosen files on the clipboard (none: the clipboard stays as it is) and reports `cutSucceeds`,
// its paste adds the copy to the archive and moves it away, unless the test makes it stop.
class FakeZipFolder : public ZipFolder {
  public:
    FakeZipFolder(std::wstring archive, std::wstring copy) : archive_(std::move(archive)), copy_(std::move(copy)) {}
    bool Find(const wchar_t*, const wchar_t*) override { return finds; }
    bool Cut() override {
        if (!cutFiles.empty()) {
            PutFilesOnClipboard(cutFiles);
        }
        return cutSucceeds;
    }
    bool Paste() override {
        ++pastes;
        if (!pasteSucceeds) {
            return false;
        }
        if (addsCopy) {
            AddStoredFile(archive_.c_str(), copy_.c_str(), L"Velmora.exe");
        }
        if (movesCopy) {
            DeleteFileW(copy_.c_str());
        }
        if (duringPaste) {
            duringPaste();
        }
        return true;
    }

    bool finds = true;
    bool cutSucceeds = true;
    std::vector<std::wstring> cutFiles;
    bool pasteSucceeds = true;
    bool addsCopy = true;
    bool movesCopy = true;
    std::function<void()> duringPaste;
    int pastes = 0;

  private:
    std::wstring archive_;
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
        for (const std::wstring& file : {copy_, first_, second_, exe_, archive_}) {
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
    const std::wstring exe_ = folder_ + L"\\program.exe";
    const std::wstring archive_ = folder_ + L"\\Velmora.zip";
    FakeZipFolder shell_{archive_, copy_};
};

// The entries the archive's end record counts.
int EntryCount(const std::string& zip) {
    return zip.size() < 22 ? -1
                           : static_cast<unsigned char>(zip[zip.size() - 12]) |
                                 static_cast<unsigned char>(zip[zip.size() - 11]) << 8;
}

}  // namespace

// Wherever the shell's route stops, the program writes the archive itself and it is sent; the
// files the user has cut stay on the clipboard and where they are.
TEST_F(ShellZipRoute, WhereverTheShellStopsTheProgramWritesTheArchiveAndTheUsersCutStays) {
    HMODULE resources = LoadProgramResources();
    ASSERT_NE(resources, nullptr);
    const std::string program = "MZ the program itself " + std::string(3000, 'p');
    WriteBytes(exe_, program);
    struct Case {
        const char* name;
        bool shellThere;
        std::function<void(FakeZipFolder&)> shell;
        int pastes;  // never while the clipboard holds anything but the copy's cut
    };
    const Case cases[] = {
        {"no ZIP folder handler", false, [](FakeZipFolder&) {}, 0},
        {"the shell's objects not found", true, [](FakeZipFolder& s) { s.finds = false; }, 0},
        {"cut refused", true, [](FakeZipFolder& s) { s.cutSucceeds = false; }, 0},
        {"cut that leaves the user's files", true, [](FakeZipFolder& s) { s.cutFiles.clear(); }, 0},
        {"paste refused", true, [](FakeZipFolder& s) { s.pasteSucceeds = false; }, 1},
        {"paste not done in time, part of the archive written", true,
         [this](FakeZipFolder& s) {
             s.addsCopy = false;
             s.movesCopy = false;
             s.duringPaste = [this] { WriteBytes(archive_, "PK\x03\x04 half"); };
         },
         1},
        {"copy moved but not into the archive", true, [](FakeZipFolder& s) { s.addsCopy = false; }, 1},
        {"the ZIP folder's own archive", true, [](FakeZipFolder&) {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileW(copy_.c_str());
        WriteBytes(archive_, "an old archive");
        PutFilesOnClipboard({first_, second_});
        FakeZipFolder shell(archive_, copy_);
        shell.cutFiles = {copy_};
        c.shell(shell);
        ZipPacking packing;
        packing.exe = exe_;
        packing.copy = copy_;
        packing.archive = archive_.c_str();
        packing.resources = resources;
        packing.moveWaitMs = 300;

        ASSERT_TRUE(PackProgramZipWith(c.shellThere ? &shell : nullptr, packing));
        EXPECT_EQ(shell.pastes, c.pastes);
        EXPECT_TRUE(ArchiveHoldsFile(archive_.c_str(), L"Velmora.exe", exe_.c_str()));
        EXPECT_EQ(EntryCount(ReadBytes(archive_)), 1);
        EXPECT_FALSE(std::filesystem::exists(copy_)) << "the copy stays behind";
        EXPECT_EQ(FilesOnClipboard(), (std::vector<std::wstring>{first_, second_}));
        EXPECT_TRUE(UsersFilesUntouched());
        EXPECT_EQ(ReadBytes(exe_), program);
    }
    FreeLibrary(resources);
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
    shell_.addsCopy = false;
    shell_.movesCopy = false;  // the wait stays open until something ends it
    shell_.duringPaste = [owner] {
        PostMessageW(owner, WM_KEYDOWN, VK_RETURN, 0);
        PostMessageW(owner, kSecondSend, 0, 0);
        PostQuitMessage(5);  // what Exit in the tray menu does
    };

    EXPECT_EQ(CutAndPaste(shell_, copy_.c_str(), owner, 10000), ShellMove::kEnding);
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
