#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "e2e/support/dialog_app.h"
#include "e2e/support/menu_bar_driver.h"
#include "resource_ids.h"

// ctest runs the Language suites under LANG=de_DE.UTF-8, so "lng" in the INI file decides
// whether the program starts in German or English.
namespace {

using e2e::DialogApp;

constexpr wchar_t kTextFileOpener[] = L"txtfile\\shell\\open\\command";
constexpr int kMessageBoxText = 0xFFFF;

std::string ReadBytes(const std::wstring& path) {
    std::string bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return bytes;
    }
    char block[4096];
    DWORD read = 0;
    while (ReadFile(file, block, sizeof(block), &read, nullptr) && read > 0) {
        bytes.append(block, read);
    }
    CloseHandle(file);
    return bytes;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string Utf16Bytes(const std::wstring& text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

// What the export must hold, taken from the pack's source: the first request to translators
// (its \r and \n turned into line breaks) and the English section as it stands.
std::wstring ExpectedExport() {
    const std::string source = ReadBytes(e2e::WindowsPath(VELMORA_PACK_SOURCE_PATH));
    std::wstring pack(static_cast<size_t>(source.size()), L'\0');
    pack.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, source.data(), static_cast<int>(source.size()),
                                                        pack.data(), static_cast<int>(pack.size()))));
    const size_t requestAt = pack.find(L"\n25=") + 4;
    const std::wstring escaped = pack.substr(requestAt, pack.find(L'\r', requestAt) - requestAt);
    std::wstring request;
    for (size_t at = 0; at < escaped.size(); ++at) {
        if (escaped[at] == L'\\' && at + 1 < escaped.size() && (escaped[at + 1] == L'r' || escaped[at + 1] == L'n')) {
            request += escaped[++at] == L'r' ? L'\r' : L'\n';
        } else {
            request += escaped[at];
        }
    }
    const std::wstring header = L"##=English\tEnglisch\r";
    const size_t bodyAt = pack.find(header) + header.size();
    const std::wstring body = pack.substr(bodyAt, pack.find(L"##", bodyAt) - bodyAt);
    return L"\r\nPlease don't forget! Write in e-mail subject: Strings for: Velmora 5.41 and Language Name : German / "
           L"Deutsch \r\n\r\n" +
           request + L"\r\n\r\n##=English\tEnglisch\r\n\r\n" + body + L"\r\n\r\n";
}

// Windows of class "#32770" that the program shows besides its settings dialog: the file
// dialog and message boxes.
HWND FindOtherDialog(DWORD processId, HWND settings, const wchar_t* title = nullptr) {
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, L"#32770", title)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && window != settings && IsWindowVisible(window)) {
            return window;
        }
    }
    return nullptr;
}

std::wstring WindowText(HWND window) {
    wchar_t text[4096] = L"";
    SendMessageW(window, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
    return text;
}

// While a test runs, the shell's opener of .txt files writes the path it was given into a
// file instead of starting an editor. A fresh prefix has no .txt association at all.
class TextFileRecorder {
  public:
    explicit TextFileRecorder(const std::wstring& record) {
        DWORD size = sizeof(opener_);
        RegGetValueW(HKEY_CLASSES_ROOT, kTextFileOpener, nullptr, RRF_RT_REG_SZ, nullptr, opener_, &size);
        DWORD classSize = sizeof(class_);
        hadClass_ = RegGetValueW(HKEY_CLASSES_ROOT, L".txt", nullptr, RRF_RT_REG_SZ, nullptr, class_, &classSize) ==
                    ERROR_SUCCESS;
        if (!hadClass_) {
            SetDefault(L".txt", L"txtfile");
        }
        SetDefault(kTextFileOpener, L"C:\\windows\\system32\\cmd.exe /c echo \"%1\">\"" + record + L"\"");
    }
    ~TextFileRecorder() {
        SetDefault(kTextFileOpener, opener_);
        if (!hadClass_) {
            RegDeleteTreeW(HKEY_CLASSES_ROOT, L".txt");
        }
    }
    TextFileRecorder(const TextFileRecorder&) = delete;
    TextFileRecorder& operator=(const TextFileRecorder&) = delete;

  private:
    static void SetDefault(const wchar_t* key, const std::wstring& value) {
        RegSetKeyValueW(HKEY_CLASSES_ROOT, key, nullptr, REG_SZ, value.c_str(),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }

    wchar_t opener_[1024] = L"";
    wchar_t class_[256] = L"";
    bool hadClass_ = false;
};

class LanguageMenu : public ::testing::Test {
  protected:
    // Opens the menu with a click on the "# LNG" button and picks an item with the keyboard.
    bool Choose(const std::vector<WORD>& keys) {
        const e2e::MenuBarDriver bar(app_.Dialog().Window());
        if (e2e::OpenMenuWith([&] { bar.Click(bar.RightToolbar(), IDM_LANGUAGE_MENU); }) == nullptr) {
            return false;
        }
        for (WORD key : keys) {
            e2e::PressKeys({key}, 60);
        }
        e2e::PressKeys({VK_RETURN}, 60);
        return e2e::WaitUntil([] { return e2e::FindOpenMenu() == nullptr; }, 5000);
    }

    // Loads a language file through "Load from File (Unicode)" and returns the text of the
    // message box that follows, which it closes.
    std::wstring Load(const std::wstring& path) {
        if (!Choose({VK_END})) {
            return L"(menu did not open)";
        }
        const DWORD process = app_.App().Running().Id();
        HWND chooser = nullptr;
        if (!e2e::WaitUntil([&] { return (chooser = FindOtherDialog(process, Settings())) != nullptr; }, 20000)) {
            return L"(no file dialog)";
        }
        HWND name = GetDlgItem(chooser, 0x480);  // edt1, or the combo box cmb13 where it is editable
        SendMessageW(name ? name : GetDlgItem(chooser, 0x47C), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        PostMessageW(chooser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(chooser, IDOK)));
        return CloseReport();
    }

    // The text of the "Translate" message box that comes next, which it closes.
    std::wstring CloseReport() {
        const DWORD process = app_.App().Running().Id();
        HWND box = nullptr;
        if (!e2e::WaitUntil([&] { return (box = FindOtherDialog(process, Settings(), L"Translate")) != nullptr; },
                            10000)) {
            return L"(no message box)";
        }
        const std::wstring text = WindowText(GetDlgItem(box, kMessageBoxText));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        e2e::WaitUntil([&] { return !IsWindow(box); }, 5000);
        app_.Dialog().CatchUp();
        return text;
    }

    HWND Settings() const { return app_.Dialog().Window(); }
    std::wstring DisableText() const { return app_.Dialog().Text(IDC_DISABLE); }

    DialogApp app_;
};

TEST_F(LanguageMenu, TranslatorsExportTheEnglishTextsAndLoadTheirFileBack) {
    wchar_t temp[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temp);
    const std::wstring exportPath = std::wstring(temp) + L"translate_Velmora_5.41.txt";
    DeleteFileW(exportPath.c_str());
    e2e::TempFolder folder;
    const std::wstring opened = folder.File(L"opened.txt");
    TextFileRecorder recorder(opened);

    e2e::WriteIniValue(app_.App().IniPath(), L"lng", L"0");
    ASSERT_NE(app_.Start(), nullptr);
    ASSERT_EQ(DisableText(), L"Deaktivieren");

    // A file the program cannot open is reported and leaves the German texts in place.
    const std::wstring locked = folder.File(L"locked.txt");
    WriteBytes(locked, "25=Locked\r\n");
    HANDLE holder = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    const std::wstring refused = Load(locked);
    CloseHandle(holder);
    EXPECT_NE(refused.find(locked), std::wstring::npos) << refused;
    EXPECT_EQ(refused.find(L'%'), std::wstring::npos) << refused;
    EXPECT_EQ(DisableText(), L"Deaktivieren");

    // An export that another program holds open may still hold an old one: it is reported, and
    // not opened.
    WriteBytes(exportPath, "OLD CONTENT");
    HANDLE exportHolder = CreateFileW(exportPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(exportHolder, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(Choose({VK_END, VK_UP}));  // "Translate" is the item above "Load from File (Unicode)"
    EXPECT_EQ(CloseReport(), L"Fehler beim Dateizugriff\n" + exportPath);
    CloseHandle(exportHolder);
    EXPECT_FALSE(e2e::FileExists(opened));

    ASSERT_TRUE(Choose({VK_END, VK_UP}));
    const std::string expected = "\xFF\xFE" + Utf16Bytes(ExpectedExport());
    EXPECT_TRUE(e2e::WaitUntil([&] { return ReadBytes(exportPath) == expected; }, 10000))
        << "export file differs: " << ReadBytes(exportPath).size() << " bytes, expected " << expected.size();
    EXPECT_TRUE(e2e::WaitUntil(
        [&] { return ReadBytes(opened).find("translate_Velmora_5.41.txt") != std::string::npos; }, 10000))
        << "the shell was not asked to open the export";

    // Loaded back, the English export is complete and takes over from German.
    EXPECT_EQ(Load(exportPath), L"100 %");
    EXPECT_EQ(DisableText(), L"Disable");

    // Without twelve of its lines the file is reported incomplete, and the dialog shows the
    // missing texts as such.
    std::wstring text = ExpectedExport();
    for (const wchar_t* id : {L"20", L"21", L"25", L"26", L"28", L"31", L"32", L"40", L"41", L"42", L"43", L"44"}) {
        const size_t at = text.find(std::wstring(L"\n") + id + L"=");
        ASSERT_NE(at, std::wstring::npos) << id;
        text.erase(at + 1, text.find(L'\n', at + 1) - at);
    }
    const std::wstring incomplete = folder.File(L"incomplete.txt");
    WriteBytes(incomplete, "\xFF\xFE" + Utf16Bytes(text));
    EXPECT_EQ(Load(incomplete),
              L"73 %\n\nmiss:\n20=Preferences\n21=Start with Windows\n25=Disable\n26=Options\n"
              L"28=Always start minimized (ToTray)\n31=Always on Top\n32=Desktop context menu \n"
              L"40=Show via desktop click:\n41=Left mouse button \n...and...\n42,43,44,");
    EXPECT_EQ(DisableText(), L"?.Str.?");
    EXPECT_EQ(app_.Ini(L"lng"), L"0");
    DeleteFileW(exportPath.c_str());
}

}  // namespace
