// The floor for idle CPU: the settings dialog's two timers (200 ms, and 30 ms killed and
// re-armed on every tick) with one cursor read per tick and nothing else.
#include <windows.h>

namespace {

constexpr UINT_PTR kDialogTimerId = 4000;
constexpr UINT_PTR kTickTimerId = 2001;

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        KillTimer(window, kTickTimerId);
        POINT cursor;
        GetCursorPos(&cursor);
        SetTimer(window, kTickTimerId, 30, nullptr);
        return 0;
    }
    if (message == WM_CLOSE) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = FloorProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"VelmoraTickFloor";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowW(L"VelmoraTickFloor", L"tick floor", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                                instance, nullptr);
    SetTimer(window, kDialogTimerId, 200, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    return 0;
}
