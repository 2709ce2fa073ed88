// A MAPI32.DLL without MAPISendMail: a mail program the program cannot use.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
