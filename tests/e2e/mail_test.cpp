#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "e2e/support/dialog_app.h"
#include "resource_ids.h"

namespace {

using e2e::DialogApp;

// While a test runs, the stand-in MAPI32.DLL (or none) is the system's: it takes the place of
// Wine's own file in the system directory of the tests' prefix, for the program loads its DLLs
// from there alone, and Velmora.exe may load only a native MAPI32.DLL. Wine takes its DLL
// overrides from the Unix environment it was started in, not from the environment a test
// hands to CreateProcess, so the override is the program's entry under Wine's AppDefaults.
// Both are put back at the end.
class SystemMapi {
  public:
    explicit SystemMapi(const char* stub) {
        // "native,builtin" has Wine search as Windows does, the exe's folder first; without a
        // stand-in, "native" keeps Wine's own from standing in for a missing one.
        const std::wstring order = stub != nullptr ? L"native,builtin" : L"native";
        RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"mapi32", REG_SZ, order.c_str(),
                        static_cast<DWORD>((order.size() + 1) * sizeof(wchar_t)));
        wchar_t system[MAX_PATH] = L"";
        GetSystemDirectoryW(system, MAX_PATH);
        path_ = std::wstring(system) + L"\\mapi32.dll";
        // Wine's file is still aside after an interrupted run: keep that one.
        if (e2e::FileExists(Saved())) {
            DeleteFileW(path_.c_str());
        } else {
            MoveFileW(path_.c_str(), Saved().c_str());
        }
        if (stub != nullptr) {
            CopyFileW(e2e::WindowsPath(stub).c_str(), path_.c_str(), FALSE);
        }
    }
    ~SystemMapi() {
        DeleteFileW(path_.c_str());
        DeleteFileW(LoadedMark(path_).c_str());
        MoveFileW(Saved().c_str(), path_.c_str());
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, L"mapi32");
    }
    SystemMapi(const SystemMapi&) = delete;
    SystemMapi& operator=(const SystemMapi&) = delete;

    const std::wstring& Path() const { return path_; }
    // The file the stand-in without MAPISendMail leaves beside itself when it is loaded.
    static std::wstring LoadedMark(const std::wstring& dll) { return dll + L".loaded"; }

  private:
    std::wstring Saved() const { return path_ + L".velmora-saved"; }

    static constexpr wchar_t kKey[] = L"Software\\Wine\\AppDefaults\\Velmora.exe\\DllOverrides";
    std::wstring path_;
};

std::string ReadBytes(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

std::wstring TempFile(const wchar_t* name) {
    wchar_t temp[MAX_PATH + 1] = L"";
    GetTempPathW(MAX_PATH + 1, temp);
    return std::wstring(temp) + name;
}

// Opened with a window: without an owner the clipboard takes no data. Wine's clipboard manager
// holds the clipboard for a moment whenever it changes, so opening is tried again for a while.
std::wstring ClipboardText(const wchar_t* replacement = nullptr) {
    std::wstring text;
    HWND owner = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (e2e::WaitUntil([&] { return OpenClipboard(owner) != FALSE; }, 2000)) {
        if (replacement != nullptr) {
            EmptyClipboard();
            size_t size = (wcslen(replacement) + 1) * sizeof(wchar_t);
            HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
            memcpy(GlobalLock(memory), replacement, size);
            GlobalUnlock(memory);
            SetClipboardData(CF_UNICODETEXT, memory);
        }
        HANDLE data = GetClipboardData(CF_UNICODETEXT);
        text = data != nullptr ? static_cast<const wchar_t*>(GlobalLock(data)) : L"";
        GlobalUnlock(data);
        CloseClipboard();
    }
    DestroyWindow(owner);
    return text;
}

// What the stand-in MAPISendMail wrote down (tools/mapi_stub/mail_record.h); empty if nothing.
std::string NextMail(const std::wstring& log) {
    e2e::WaitUntil([&] { return e2e::FileExists(log); }, 15000);
    std::string mail = ReadBytes(log);
    DeleteFileW(log.c_str());
    return mail;
}

std::string Utf8(const std::wstring& text) {
    std::string bytes(text.size() * 3, '\0');
    bytes.resize(
        static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(),
                                                static_cast<int>(bytes.size()), nullptr, nullptr)));
    return bytes;
}

// The text of the next message box titled `title` (the program is the only one to show one),
// which it closes; empty if none came in time.
std::wstring CloseMessageBox(const wchar_t* title) {
    HWND box = nullptr;
    if (!e2e::WaitUntil([&] { return (box = FindWindowW(L"#32770", title)) != nullptr && IsWindowVisible(box); },
                        15000)) {
        return std::wstring();
    }
    wchar_t text[1024] = L"";
    GetDlgItemTextW(box, 0xFFFF, text, 1024);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return text;
}

// Whether `zip` holds just `data`, stored under `name`: one local header, the data, then a
// directory of one entry.
bool HoldsOnly(const std::string& zip, const std::string& name, const std::string& data) {
    size_t dataStart = 30 + name.size();
    return zip.size() > dataStart + data.size() + 22 && zip.compare(0, 4, "PK\x03\x04") == 0 &&
           zip.compare(8, 2, std::string(2, '\0')) == 0 && zip.compare(30, name.size(), name) == 0 &&
           zip.compare(dataStart, data.size(), data) == 0 && zip.compare(zip.size() - 22, 4, "PK\x05\x06") == 0 &&
           zip.compare(zip.size() - 12, 2, std::string("\x01\x00", 2)) == 0;
}

}  // namespace

TEST(MailCommands, RecommendHasNoAttachmentAndSendAttachesTheProgramZippedTheClipboardStays) {
    SystemMapi mapi(VELMORA_MAPI_STUB_PATH);
    const std::wstring usersText = L"the user's own text";
    ASSERT_EQ(ClipboardText(usersText.c_str()), usersText);
    const DWORD sequence = GetClipboardSequenceNumber();
    DialogApp app({{L"lng", L"1"}});
    // A MAPI32.DLL lying beside the exe, as in a Downloads folder, must never be loaded.
    const std::wstring planted = app.App().Folder() + L"\\MAPI32.DLL";
    ASSERT_TRUE(CopyFileW(e2e::WindowsPath(VELMORA_MAPI_WITHOUT_EXPORT_PATH).c_str(), planted.c_str(), FALSE));
    const std::wstring log = app.App().Folder() + L"\\mail.log";
    const std::wstring archive = TempFile(L"Velmora.zip");
    DeleteFileW(archive.c_str());
    HWND dialog = app.Start(L"", {L"VELMORA_MAPI_LOG=" + log});
    ASSERT_NE(dialog, nullptr);
    const std::string owner = "MAPISendMailW\nowner " + std::to_string(reinterpret_cast<ULONG_PTR>(dialog));
    const std::string message =
        "subject Velmora tip for U!\nbody  Hello,\r\n \r\n I found Velmora . \r\n \r\n "
        ".....................................\r\n \r\n "
        "website: http://www.velmora-soft.com/donate.php?seite=PayPal&Program=Velmora\r\n "
        "download: http://www.velmora-soft.com/download.php?Download=Velmora\r\n ";

    PostMessageW(dialog, WM_COMMAND, IDM_RECOMMEND, 0);
    EXPECT_EQ(NextMail(log), owner + ", flags 9, recipients 0, files 0\n" + message);

    PostMessageW(dialog, WM_COMMAND, IDM_SEND_ZIP, 0);
    EXPECT_EQ(NextMail(log), owner + ", flags 9, recipients 0, files 1\nfile " + Utf8(archive) +
                                 " as Velmora.zip at 4294967295\n" + message);
    std::string exe = ReadBytes(app.App().ExePath());
    EXPECT_GT(exe.size(), 100000u);
    EXPECT_TRUE(HoldsOnly(ReadBytes(archive), "Velmora.exe", exe)) << "the archive does not hold the exe that ran";
    EXPECT_FALSE(e2e::FileExists(TempFile(L"Velmora.exe"))) << "the copy for the archive stays behind";
    EXPECT_FALSE(e2e::FileExists(SystemMapi::LoadedMark(planted))) << "the MAPI32.DLL beside the exe was loaded";

    // The program gives the clipboard back once the mail call has returned, after the stand-in
    // wrote its record: the user's text is waited for.
    std::wstring clipboard;
    EXPECT_TRUE(e2e::WaitUntil([&] { return (clipboard = ClipboardText()) == usersText; }, 5000))
        << "clipboard \"" << Utf8(clipboard) << "\", changed " << GetClipboardSequenceNumber() - sequence
        << " times since the user's copy";
    EXPECT_TRUE(app.App().Running().Running());
}

// A Russian user with a temporary folder in Cyrillic: the Unicode call gets every character.
TEST(MailCommands, InRussianTheSubjectAndAnArchiveInACyrillicFolderArriveIntact) {
    SystemMapi mapi(VELMORA_MAPI_STUB_PATH);
    e2e::TempFolder folder;
    const std::wstring temp = folder.File(L"\x0412\x0440\x0435\x043C\x0435\x043D\x043D\x0430\x044F");
    ASSERT_TRUE(CreateDirectoryW(temp.c_str(), nullptr));
    DialogApp app({{L"lng", L"4"}});
    const std::wstring log = folder.File(L"mail.log");
    HWND dialog = app.Start(L"", {L"VELMORA_MAPI_LOG=" + log, L"TEMP=" + temp, L"TMP=" + temp});
    ASSERT_NE(dialog, nullptr);

    PostMessageW(dialog, WM_COMMAND, IDM_SEND_ZIP, 0);
    const std::wstring archive = temp + L"\\Velmora.zip";
    const std::wstring subject =
        L"Velmora \x2014 \x0441\x043E\x0432\x0435\x0442 \x0434\x043B\x044F \x0442\x0435\x0431\x044F!";
    const std::string expected =
        "files 1\nfile " + Utf8(archive) + " as Velmora.zip at 4294967295\nsubject " + Utf8(subject) + "\nbody ";
    const std::string mail = NextMail(log);
    EXPECT_EQ(mail.rfind("MAPISendMailW\n", 0), 0u) << mail;
    EXPECT_NE(mail.find(expected), std::string::npos) << mail;
    EXPECT_TRUE(HoldsOnly(ReadBytes(archive), "Velmora.exe", ReadBytes(app.App().ExePath())));
    EXPECT_FALSE(e2e::FileExists(temp + L"\\Velmora.exe"));
}

// An old, damaged archive that another program holds open cannot be replaced: the user is
// told, and no mail goes out with it.
TEST(MailCommands, ADamagedArchiveHeldOpenIsNeverAttached) {
    SystemMapi mapi(VELMORA_MAPI_STUB_PATH);
    e2e::TempFolder temp;
    const std::wstring archive = temp.File(L"Velmora.zip");
    std::ofstream(std::filesystem::path(archive), std::ios::binary) << "PK damaged";
    HANDLE holder = CreateFileW(archive.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    DialogApp app({{L"lng", L"1"}});
    const std::wstring log = temp.File(L"mail.log");
    HWND dialog = app.Start(L"", {L"VELMORA_MAPI_LOG=" + log, L"TEMP=" + temp.Path(), L"TMP=" + temp.Path()});
    ASSERT_NE(dialog, nullptr);

    PostMessageW(dialog, WM_COMMAND, IDM_SEND_ZIP, 0);
    EXPECT_EQ(CloseMessageBox(L"Error"), L"File access error\n" + archive);
    CloseHandle(holder);
    EXPECT_TRUE(app.Dialog().CatchUp(5000));
    EXPECT_FALSE(e2e::FileExists(log)) << ReadBytes(log);
    EXPECT_EQ(ReadBytes(archive), "PK damaged");
    EXPECT_FALSE(e2e::FileExists(temp.File(L"Velmora.exe")));
}

TEST(MailCommands, WithoutAUsableMailProgramTheCommandsShowNothingAndTheProgramGoesOn) {
    const char* const stubs[] = {VELMORA_MAPI_WITHOUT_EXPORT_PATH, nullptr};  // null: no MAPI32.DLL at all
    for (const char* stub : stubs) {
        SCOPED_TRACE(stub != nullptr ? "stub without MAPISendMail" : "no MAPI32.DLL");
        SystemMapi mapi(stub);
        DialogApp app({{L"lng", L"1"}});
        HWND dialog = app.Start();
        ASSERT_NE(dialog, nullptr);
        PostMessageW(dialog, WM_COMMAND, IDM_RECOMMEND, 0);
        PostMessageW(dialog, WM_COMMAND, IDM_SEND_ZIP, 0);
        EXPECT_TRUE(app.Dialog().CatchUp(15000));
        // The only window the program shows is its dialog.
        for (HWND window = GetTopWindow(nullptr); window != nullptr; window = GetWindow(window, GW_HWNDNEXT)) {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            EXPECT_FALSE(process == app.App().Running().Id() && window != dialog && IsWindowVisible(window));
        }
        EXPECT_TRUE(app.App().Running().Running());
        EXPECT_TRUE(HoldsOnly(ReadBytes(TempFile(L"Velmora.zip")), "Velmora.exe", ReadBytes(app.App().ExePath())));
        // The one MAPI32.DLL there was came from the system directory.
        EXPECT_EQ(e2e::FileExists(SystemMapi::LoadedMark(mapi.Path())), stub != nullptr);
    }
}
