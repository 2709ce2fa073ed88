// A portable exe runs from a Downloads folder, beside whatever was downloaded with it. A DLL
// planted there under a system DLL's name must never be loaded: not at start, not when a
// dialog, a menu or the file dialog opens, not at the end.
#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <string>
#include <vector>

#include "e2e/support/dialog_app.h"
#include "e2e/support/menu_bar_driver.h"
#include "resource_ids.h"

namespace {

using e2e::DialogApp;

// Names the program, the common controls, the common dialogs or the shell load by name on
// Windows 10/11, none of them a known DLL there. Each is planted beside the exe, the file that,
// when loaded, leaves "<its path>.loaded" beside itself.
const wchar_t* const kPlantedNames[] = {L"uxtheme.dll",  L"dwmapi.dll",   L"version.dll", L"cryptbase.dll",
                                        L"winmm.dll",    L"userenv.dll",  L"propsys.dll", L"textshaping.dll",
                                        L"comdlg32.dll", L"winspool.drv", L"oleacc.dll",  L"comctl32.dll"};
// Wine prefers its own DLLs to a file beside the exe: a "native,builtin" entry for Velmora.exe
// makes it search as Windows does, the exe's folder first. Not for version.dll: Wine's own user32
// imports it at load time, before any line of the program runs (Windows' user32 does not), and
// calls into it, which the planted file cannot answer.
const wchar_t kWineUserImport[] = L"version.dll";

constexpr int kHotKeyItem = 6;  // of "More options", separators not counted

// The planted files beside the exe and Wine's entries for them. The entries are taken away at
// the end; the files go with the program's folder.
class PlantedDlls {
  public:
    explicit PlantedDlls(const std::wstring& folder) : folder_(folder) {
        for (const wchar_t* file : kPlantedNames) {
            const std::wstring name = file;
            CopyFileW(e2e::WindowsPath(VELMORA_MAPI_WITHOUT_EXPORT_PATH).c_str(), (folder + L"\\" + name).c_str(),
                      FALSE);
            if (name == kWineUserImport) {
                continue;
            }
            const std::wstring key = OverrideName(name);
            const wchar_t order[] = L"native,builtin";
            RegSetKeyValueW(HKEY_CURRENT_USER, kOverrides, key.c_str(), REG_SZ, order, sizeof(order));
            overrides_.push_back(key);
        }
    }
    ~PlantedDlls() {
        for (const std::wstring& key : overrides_) {
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kOverrides, key.c_str());
        }
    }
    PlantedDlls(const PlantedDlls&) = delete;
    PlantedDlls& operator=(const PlantedDlls&) = delete;

    // The planted names that were loaded so far.
    std::wstring Loaded() const {
        std::wstring loaded;
        for (const wchar_t* name : kPlantedNames) {
            if (e2e::FileExists(folder_ + L"\\" + name + L".loaded")) {
                loaded += std::wstring(name) + L" ";
            }
        }
        return loaded;
    }

  private:
    // Wine names a DLL's entry without ".dll", any other extension kept.
    static std::wstring OverrideName(const std::wstring& name) {
        return name.size() > 4 && name.compare(name.size() - 4, 4, L".dll") == 0 ? name.substr(0, name.size() - 4)
                                                                                 : name;
    }

    static constexpr wchar_t kOverrides[] = L"Software\\Wine\\AppDefaults\\Velmora.exe\\DllOverrides";
    std::wstring folder_;
    std::vector<std::wstring> overrides_;
};

// The path of the common controls the process loaded, empty when none.
std::wstring CommonControlsOf(DWORD processId) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    std::wstring path;
    HMODULE modules[512] = {};
    DWORD size = 0;
    if (process != nullptr && EnumProcessModules(process, modules, sizeof(modules), &size)) {
        for (DWORD i = 0; i < size / sizeof(HMODULE) && i < std::size(modules); ++i) {
            wchar_t name[MAX_PATH] = L"";
            if (GetModuleFileNameExW(process, modules[i], name, MAX_PATH) == 0) {
                continue;
            }
            const std::wstring file = name;
            CharLowerW(name);
            if (std::wstring(name).ends_with(L"\\comctl32.dll")) {
                path = file;
            }
        }
    }
    if (process != nullptr) {
        CloseHandle(process);
    }
    return path;
}

HWND FindOtherDialog(DWORD processId, HWND settings) {
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, L"#32770", nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && window != settings && IsWindowVisible(window)) {
            return window;
        }
    }
    return nullptr;
}

bool CancelOtherDialog(DWORD processId, HWND settings) {
    HWND dialog = nullptr;
    if (!e2e::WaitUntil([&] { return (dialog = FindOtherDialog(processId, settings)) != nullptr; }, 20000)) {
        return false;
    }
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return e2e::WaitUntil([&] { return IsWindow(dialog) == 0; }, 5000);
}

}  // namespace

TEST(InstanceBesidePlantedDlls, LoadsNoneFromStartThroughDialogsMenusTheFileDialogAndExit) {
    DialogApp app;
    PlantedDlls planted(app.App().Folder());
    HWND settings = app.Start();
    EXPECT_EQ(planted.Loaded(), L"") << "at start";
    ASSERT_NE(settings, nullptr);
    ASSERT_TRUE(app.Dialog().CatchUp());
    const DWORD process = app.App().Running().Id();
    // The manifest's version 6, from the side-by-side store, not a comctl32.dll found by search.
    const std::wstring controls = CommonControlsOf(process);
    EXPECT_NE(controls.find(L"common-controls_6595b64144ccf1df_6."), std::wstring::npos) << controls;

    ASSERT_TRUE(app.Dialog().ChooseMoreOption(kHotKeyItem));
    ASSERT_TRUE(CancelOtherDialog(process, settings)) << "the hot-key dialog";
    EXPECT_EQ(planted.Loaded(), L"") << "after the menu and the hot-key dialog";

    const e2e::MenuBarDriver bar(settings);
    HWND menu = e2e::OpenMenuWith([&] { bar.Click(bar.RightToolbar(), IDM_LANGUAGE_MENU); });
    ASSERT_NE(menu, nullptr);
    e2e::PressKeysInMenu(menu, {VK_END, VK_RETURN});  // "Load from File (Unicode)"
    ASSERT_TRUE(CancelOtherDialog(process, settings)) << "the file dialog";
    EXPECT_EQ(planted.Loaded(), L"") << "after the language menu and the file dialog";

    EXPECT_EQ(app.App().End(), 0);
    EXPECT_EQ(planted.Loaded(), L"") << "at the end";
}
