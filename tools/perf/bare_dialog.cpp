// The yardstick for start-up time: the settings dialog's template shown by a program that
// does nothing else but what any program with this dialog must do (same manifest, same common
// controls, shell32 loaded, OLE initialised; no settings, no texts).
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <cstring>
#include <vector>

#include "common/startup_trace.h"
#include "resource_ids.h"

namespace {

// The yardstick shows the template's first 25 controls: the trackbar and the progress bar are
// among them; the link line, the link bar's place and the hidden FAQ button are not.
constexpr WORD kYardstickControls = 25;
constexpr size_t kItemCountOffset = 16;  // DLGTEMPLATEEX: version, signature, help id, styles

INT_PTR CALLBACK BareDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        MarkStartup("bare: dialog controls");
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

std::vector<BYTE> YardstickTemplate(HINSTANCE instance) {
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(IDD_SETTINGS), MAKEINTRESOURCEW(5));  // RT_DIALOG
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(instance, found)));
    std::vector<BYTE> copy(data, data + SizeofResource(instance, found));
    WORD count = 0;
    std::memcpy(&count, copy.data() + kItemCountOffset, sizeof(count));
    if (count > kYardstickControls) {
        count = kYardstickControls;
        std::memcpy(copy.data() + kItemCountOffset, &count, sizeof(count));
    }
    return copy;
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
    std::vector<BYTE> dialogTemplate = YardstickTemplate(instance);
    HWND dialog = CreateDialogIndirectParamW(instance, reinterpret_cast<LPCDLGTEMPLATEW>(dialogTemplate.data()),
                                             nullptr, BareDialogProc, 0);
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
