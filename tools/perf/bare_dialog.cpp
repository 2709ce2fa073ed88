// The yardstick for start-up time: the settings dialog's template shown by a program that
// does nothing else but what any program with this dialog must do (same manifest, same common
// controls, shell32 loaded, OLE initialised; no settings, no texts).
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <utility>

#include "common/startup_trace.h"
#include "resource_ids.h"

namespace {

INT_PTR CALLBACK BareDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        MarkStartup("bare: dialog controls");
        for (auto [which, metric] : {std::pair{ICON_SMALL, SM_CXSMICON}, std::pair{ICON_BIG, SM_CXICON}}) {
            const int size = GetSystemMetrics(metric);
            HANDLE icon = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON, size, size,
                                     LR_SHARED);
            SendMessageW(dialog, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
        }
        OleInitialize(nullptr);
        MarkStartup("bare: OLE");
        return TRUE;
    }
    if (message == WM_CLOSE) {
        PostQuitMessage(0);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    MarkStartup("bare: wWinMain");
    LoadLibraryW(L"shell32.dll");  // the program imports it, so it is loaded before wWinMain there
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = 0x5FF;
    InitCommonControlsEx(&controls);
    MarkStartup("bare: common controls");
    // The whole template: every control, the header picture and the icon, as the program shows it.
    HWND dialog = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_SETTINGS), nullptr, BareDialogProc, 0);
    ShowWindow(dialog, SW_SHOW);
    MarkStartup("bare: dialog shown");
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return 0;
}
