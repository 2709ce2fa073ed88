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

// While a test runs, Velmora.exe may load only a native MAPI32.DLL: the stand-in beside it, or
// none at all, never Wine's own. Wine takes its DLL overrides from the Unix environment it was
// started in, not from the environment a test hands to CreateProcess, so the override is the
// program's entry under Wine's AppDefaults, removed again at the end.
class NativeMapiOnly {
  public:
    NativeMapiOnly() { RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"mapi32", REG_SZ, L"native", sizeof(L"native")); }
    ~NativeMapiOnly() { RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, L"mapi32"); }
    NativeMapiOnly(const NativeMapiOnly&) = delete;
    NativeMapiOnly& operator=(const NativeMapiOnly&) = delete;

  private:
    static constexpr wchar_t kKey[] = L"Software\\Wine\\AppDefaults\\Velmora.exe\\DllOverrides";
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

// Opened with a window: without an owner the clipboard takes no data.
std::wstring ClipboardText(const wchar_t* replacement = nullptr) {
    std::wstring text;
    HWND owner = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (OpenClipboard(owner)) {
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
    NativeMapiOnly nativeMapi;
    const std::wstring usersText = L"the user's own text";
    ClipboardText(usersText.c_str());
    DialogApp app({{L"lng", L"1"}});
    ASSERT_TRUE(CopyFileW(e2e::WindowsPath(VELMORA_MAPI_STUB_PATH).c_str(),
                          (app.App().Folder() + L"\\MAPI32.DLL").c_str(), FALSE));
    const std::wstring log = app.App().Folder() + L"\\mail.log";
    const std::wstring archive = TempFile(L"Velmora.zip");
    DeleteFileW(archive.c_str());
    HWND dialog = app.Start(L"", {L"VELMORA_MAPI_LOG=" + log});
    ASSERT_NE(dialog, nullptr);
    const std::string owner = "owner " + std::to_string(reinterpret_cast<ULONG_PTR>(dialog));
    const std::string message =
        "subject Velmora tip for U!\nbody  Hello,\r\n \r\n I found Velmora . \r\n \r\n "
        ".....................................\r\n \r\n "
        "website: http://www.velmora-soft.com/donate.php?seite=PayPal&Program=Velmora\r\n "
        "download: http://www.velmora-soft.com/download.php?Download=Velmora\r\n ";

    PostMessageW(dialog, WM_COMMAND, IDM_RECOMMEND, 0);
    EXPECT_EQ(NextMail(log), owner + ", flags 9, recipients 0, files 0\n" + message);

    PostMessageW(dialog, WM_COMMAND, IDM_SEND_ZIP, 0);
    std::string path(archive.begin(), archive.end());  // ASCII under Wine
    EXPECT_EQ(NextMail(log),
              owner + ", flags 9, recipients 0, files 1\nfile " + path + " as Velmora.zip at 4294967295\n" + message);
    std::string exe = ReadBytes(app.App().ExePath());
    EXPECT_GT(exe.size(), 100000u);
    EXPECT_TRUE(HoldsOnly(ReadBytes(archive), "Velmora.exe", exe)) << "the archive does not hold the exe that ran";

    EXPECT_EQ(ClipboardText(), usersText);
    EXPECT_TRUE(app.App().Running().Running());
}

TEST(MailCommands, WithoutAUsableMailProgramTheCommandsShowNothingAndTheProgramGoesOn) {
    NativeMapiOnly nativeMapi;
    const char* const stubs[] = {VELMORA_MAPI_WITHOUT_EXPORT_PATH, nullptr};  // null: no MAPI32.DLL at all
    for (const char* stub : stubs) {
        SCOPED_TRACE(stub != nullptr ? "stub without MAPISendMail" : "no MAPI32.DLL");
        DialogApp app({{L"lng", L"1"}});
        if (stub != nullptr) {
            ASSERT_TRUE(
                CopyFileW(e2e::WindowsPath(stub).c_str(), (app.App().Folder() + L"\\MAPI32.DLL").c_str(), FALSE));
        }
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
    }
}
