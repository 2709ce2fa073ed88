// Keeps a Wine session's desktop open while tools/wine-env runs. Wine closes a desktop a second
// after the last program with a window on it ends, and the next program gets a new one: its
// taskbar starts without icons, and its clipboard manager empties the clipboard once on
// starting, which could take what a test had just copied. The tests run one program after
// another, so without this the desktop would come and go between them.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // A message-only window: enough to be a user of the desktop, and nothing any test can see.
    HWND window = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (window == nullptr) {
        return 1;
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    return 0;
}
