#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>

#include "e2e/support/dialog_app.h"
#include "resource_ids.h"

namespace {

using e2e::DialogApp;

constexpr wchar_t kUsersText[] = L"the user's own text";

// While a test runs, Velmora.exe may load only a native MAPI32.DLL: the stand-in beside it, or
// none at all, never Wine's own. Wine takes its DLL overrides from the Unix environment it was
// started in, not from the environment a test hands to CreateProcess, so the override is the
// program's entry under Wine's AppDefaults, removed again at the end.
class NativeMapiOnly {
  public:
    NativeMapiOnly() {
        RegSetKeyValueW(HKEY_CURRENT_USER, kOverrides, L"mapi32", REG_SZ, L"native", sizeof(L"native"));
    }
    ~NativeMapiOnly() { RegDeleteKeyValueW(HKEY_CURRENT_USER, kOverrides, L"mapi32"); }
    NativeMapiOnly(const NativeMapiOnly&) = delete;
    NativeMapiOnly& operator=(const NativeMapiOnly&) = delete;

  private:
    static constexpr wchar_t kOverrides[] = L"Software\\Wine\\AppDefaults\\Velmora.exe\\DllOverrides";
};

std::string ReadBytes(const std::wstring& path) {
    std::string bytes;
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        char chunk[65536];
        DWORD read = 0;
        while (ReadFile(file, chunk, sizeof(chunk), &read, nullptr) && read > 0) {
            bytes.append(chunk, read);
        }
        CloseHandle(file);
    }
    return bytes;
}

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());  // the paths here are ASCII
}

std::wstring TempFile(const wchar_t* name) {
    wchar_t temp[MAX_PATH + 1] = L"";
    GetTempPathW(MAX_PATH + 1, temp);
    return std::wstring(temp) + name;
}

void SetClipboardText(const wchar_t* text) {
    HWND owner = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (OpenClipboard(owner)) {
        EmptyClipboard();
        size_t size = (wcslen(text) + 1) * sizeof(wchar_t);
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
        memcpy(GlobalLock(memory), text, size);
        GlobalUnlock(memory);
        SetClipboardData(CF_UNICODETEXT, memory);
        CloseClipboard();
    }
    DestroyWindow(owner);
}

std::wstring ClipboardText() {
    std::wstring text;
    if (OpenClipboard(nullptr)) {
        HANDLE data = GetClipboardData(CF_UNICODETEXT);
        if (data != nullptr) {
            text = static_cast<const wchar_t*>(GlobalLock(data));
            GlobalUnlock(data);
        }
        CloseClipboard();
    }
    return text;
}

// What the stand-in MAPISendMail logged (see tools/mapi_stub), by key; the body under "body".
std::map<std::string, std::string> NextMail(const std::wstring& log) {
    std::map<std::string, std::string> mail;
    if (!e2e::WaitUntil([&] { return e2e::FileExists(log); }, 15000)) {
        return mail;
    }
    std::string text = ReadBytes(log);
    DeleteFileW(log.c_str());
    for (size_t at = 0; at < text.size();) {
        size_t space = text.find(' ', at);
        size_t end = text.find('\n', at);
        if (space == std::string::npos || end == std::string::npos || space > end) {
            break;
        }
        std::string key = text.substr(at, space - at);
        mail[key] = text.substr(space + 1, end - space - 1);
        at = end + 1;
        if (key == "body") {
            mail[key] = text.substr(at);
            break;
        }
    }
    return mail;
}

std::uint32_t Le(const std::string& bytes, size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

// An archive of one stored entry, read by its local header: the entry's name and data.
struct StoredEntry {
    std::uint32_t entries = 0;
    std::uint32_t method = 0xFFFF;
    std::string name;
    std::string data;
};

StoredEntry ReadSingleEntryArchive(const std::wstring& path) {
    std::string zip = ReadBytes(path);
    StoredEntry entry;
    if (zip.size() < 52 || Le(zip, 0, 4) != 0x04034B50 || Le(zip, zip.size() - 22, 4) != 0x06054B50) {
        return entry;
    }
    entry.entries = Le(zip, zip.size() - 12, 2);
    entry.method = Le(zip, 8, 2);
    size_t nameLength = Le(zip, 26, 2);
    size_t dataStart = 30 + nameLength + Le(zip, 28, 2);
    entry.name = zip.substr(30, nameLength);
    entry.data = zip.substr(dataStart, std::min<size_t>(Le(zip, 22, 4), zip.size() - dataStart));
    return entry;
}

struct WindowCount {
    DWORD processId;
    HWND dialog;
    int others;
};

BOOL CALLBACK CountOtherVisibleWindows(HWND window, LPARAM param) {
    auto* count = reinterpret_cast<WindowCount*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == count->processId && window != count->dialog && IsWindowVisible(window)) {
        ++count->others;
    }
    return TRUE;
}

}  // namespace

TEST(MailCommands, RecommendHasNoAttachmentAndSendAttachesTheProgramZippedTheClipboardStays) {
    NativeMapiOnly nativeMapi;
    SetClipboardText(kUsersText);
    DialogApp app({{L"lng", L"1"}});
    ASSERT_TRUE(CopyFileW(e2e::WindowsPath(VELMORA_MAPI_STUB_PATH).c_str(),
                          (app.App().Folder() + L"\\MAPI32.DLL").c_str(), FALSE));
    const std::wstring log = app.App().Folder() + L"\\mail.log";
    const std::wstring archive = TempFile(L"Velmora.zip");
    DeleteFileW(archive.c_str());
    HWND dialog = app.Start(L"", {L"VELMORA_MAPI_LOG=" + log});
    ASSERT_NE(dialog, nullptr);
    const std::string body =
        " Hello,\r\n \r\n I found Velmora . \r\n \r\n .....................................\r\n \r\n "
        "website: http://www.velmora-soft.com/donate.php?seite=PayPal&Program=Velmora\r\n "
        "download: http://www.velmora-soft.com/download.php?Download=Velmora\r\n ";

    PostMessageW(dialog, WM_COMMAND, IDM_RECOMMEND, 0);
    auto mail = NextMail(log);
    EXPECT_EQ(mail["owner"], std::to_string(reinterpret_cast<ULONG_PTR>(dialog)));
    EXPECT_EQ(mail["flags"], "9");
    EXPECT_EQ(mail["recipients"], "0");
    EXPECT_EQ(mail["files"], "0");
    EXPECT_EQ(mail["subject"], "Velmora tip for U!");
    EXPECT_EQ(mail["body"], body);

    PostMessageW(dialog, WM_COMMAND, IDM_SEND_ZIP, 0);
    mail = NextMail(log);
    EXPECT_EQ(mail["files"], "1");
    EXPECT_EQ(mail["position"], "4294967295");
    EXPECT_EQ(mail["path"], Narrow(archive));
    EXPECT_EQ(mail["name"], "Velmora.zip");
    EXPECT_EQ(mail["subject"], "Velmora tip for U!");
    EXPECT_EQ(mail["body"], body);
    StoredEntry entry = ReadSingleEntryArchive(archive);
    EXPECT_EQ(entry.entries, 1u);
    EXPECT_EQ(entry.method, 0u);
    EXPECT_EQ(entry.name, "Velmora.exe");
    std::string exe = ReadBytes(app.App().ExePath());
    EXPECT_GT(exe.size(), 100000u);
    EXPECT_TRUE(entry.data == exe) << "the archived exe differs from the one that ran";

    EXPECT_EQ(ClipboardText(), kUsersText);
    EXPECT_TRUE(app.App().Running().Running());
}

TEST(MailCommands, WithoutAUsableMailProgramTheCommandsShowNothingAndTheProgramGoesOn) {
    NativeMapiOnly nativeMapi;
    const char* const stubs[] = {VELMORA_MAPI_WITHOUT_EXPORT_PATH, nullptr};  // null: no MAPI32.DLL at all
    for (const char* stub : stubs) {
        DialogApp app({{L"lng", L"1"}});
        if (stub != nullptr) {
            ASSERT_TRUE(
                CopyFileW(e2e::WindowsPath(stub).c_str(), (app.App().Folder() + L"\\MAPI32.DLL").c_str(), FALSE));
        }
        HWND dialog = app.Start();
        ASSERT_NE(dialog, nullptr);
        PostMessageW(dialog, WM_COMMAND, IDM_RECOMMEND, 0);
        PostMessageW(dialog, WM_COMMAND, IDM_SEND_ZIP, 0);
        EXPECT_TRUE(app.Dialog().CatchUp(15000)) << (stub != nullptr ? "stub without export" : "no MAPI32.DLL");
        WindowCount count{app.App().Running().Id(), dialog, 0};
        EnumWindows(CountOtherVisibleWindows, reinterpret_cast<LPARAM>(&count));
        EXPECT_EQ(count.others, 0);
        EXPECT_TRUE(app.App().Running().Running());
        EXPECT_EQ(ReadSingleEntryArchive(TempFile(L"Velmora.zip")).name, "Velmora.exe");
    }
}
