#include "appearance/dark_mode_hook.h"

#include <commctrl.h>

#include <cwchar>

#include "appearance/dark_mode.h"
#include "appearance/dark_subclass.h"
#include "appearance/window_theme.h"
#include "common/failure_note.h"

namespace {

struct ClassTreatment {
    const wchar_t* lowerCaseName;
    DarkTreatment treatment;
};

constexpr ClassTreatment kClassTreatments[] = {
    {L"#32770", DarkTreatment::kDialog},
    {L"button", DarkTreatment::kButton},
    {L"sysheader32", DarkTreatment::kHeader},
    {L"syslistview32", DarkTreatment::kListView},
    {L"comboboxex32", DarkTreatment::kExplorerTheme},
    {L"combobox", DarkTreatment::kExplorerTheme},
    {L"edit", DarkTreatment::kExplorerTheme},
    {L"sysdatetimepick32", DarkTreatment::kDateTimePicker},
    {L"systreeview32", DarkTreatment::kTreeView},
    {L"rebarwindow32", DarkTreatment::kRebar},
    {L"msctls_statusbar32", DarkTreatment::kStatusBar},
};

constexpr int kLongestClassName = 256;

HHOOK creationHook = nullptr;

void ThemeWindow(HWND window, const wchar_t* subAppName, const wchar_t* subIdList) {
    AllowDarkModeForWindow(window, TRUE);
    ApplyWindowTheme(window, subAppName, subIdList);
}

void DarkenTreeView(HWND tree) {
    ThemeWindow(tree, L"Explorer", nullptr);
    SendMessageW(tree, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(kDarkBackground));
    SendMessageW(tree, TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(kDarkText));
}

void Darken(HWND window, DarkTreatment treatment) {
    switch (treatment) {
        case DarkTreatment::kNone:
            break;
        case DarkTreatment::kDialog:
            SubclassDarkDialog(window);
            break;
        case DarkTreatment::kButton:
            ThemeWindow(window, L"Explorer", ButtonThemeList(GetWindowLongW(window, GWL_STYLE)));
            break;
        case DarkTreatment::kHeader:
            ThemeWindow(window, L"ItemsView", nullptr);
            break;
        case DarkTreatment::kListView:
            SetUpDarkListView(window);
            break;
        case DarkTreatment::kExplorerTheme:
            ThemeWindow(window, L"Explorer", nullptr);
            break;
        case DarkTreatment::kDateTimePicker:
            AllowDarkModeForWindow(window, TRUE);
            break;
        case DarkTreatment::kTreeView:
            DarkenTreeView(window);
            break;
        case DarkTreatment::kRebar:
            SubclassDarkRebar(window);
            break;
        case DarkTreatment::kStatusBar:
            SubclassDarkStatusBar(window);
            break;
    }
}

// Runs before the new window's first message, so its procedure can still be replaced.
LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && IsDarkModeActive()) {
        DarkenWindow(reinterpret_cast<HWND>(wParam));
    }
    return creationHook != nullptr ? CallNextHookEx(creationHook, code, wParam, lParam) : 0;
}

}  // namespace

DarkTreatment TreatmentForClass(const wchar_t* className) {
    wchar_t lowerCase[kLongestClassName + 1] = L"";
    lstrcpynW(lowerCase, className, kLongestClassName + 1);
    CharLowerW(lowerCase);
    for (const ClassTreatment& entry : kClassTreatments) {
        if (wcscmp(lowerCase, entry.lowerCaseName) == 0) {
            return entry.treatment;
        }
    }
    return DarkTreatment::kNone;
}

const wchar_t* ButtonThemeList(LONG style) {
    switch (style & BS_TYPEMASK) {
        case BS_GROUPBOX:
            return L"Groupbox";
        case BS_AUTOCHECKBOX:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            return L"";
        default:
            return nullptr;
    }
}

void DarkenWindow(HWND window) {
    wchar_t className[kLongestClassName + 1] = L"";
    GetClassNameW(window, className, kLongestClassName);
    Darken(window, TreatmentForClass(className));
}

// A thread hook: windows that other threads create keep the system's look.
HHOOK InstallDarkModeHook(HINSTANCE instance) {
    if (!IsDarkModeActive()) {
        return nullptr;
    }
    creationHook = SetWindowsHookExW(WH_CBT, CreationHook, instance, GetCurrentThreadId());
    if (creationHook == nullptr) {
        NoteFailure(L"SetWindowsHookEx (dark mode)");  // the program's windows keep the light look
    }
    return creationHook;
}
