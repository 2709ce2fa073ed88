#include <windows.h>

// Placeholder until the stand-in desktop lands.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return 0;
}
