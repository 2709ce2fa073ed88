#include "desktop/button_events.h"

namespace {

// More than a tick ever has to take: the oldest make way.
constexpr int kKeptEvents = 16;

struct ButtonFlag {
    USHORT flag;
    int button;
    bool pressed;
};

// The physical buttons, as GetAsyncKeyState reports them too: swapped buttons swap neither.
constexpr ButtonFlag kButtonFlags[] = {
    {RI_MOUSE_LEFT_BUTTON_DOWN, VK_LBUTTON, true},   {RI_MOUSE_LEFT_BUTTON_UP, VK_LBUTTON, false},
    {RI_MOUSE_RIGHT_BUTTON_DOWN, VK_RBUTTON, true},  {RI_MOUSE_RIGHT_BUTTON_UP, VK_RBUTTON, false},
    {RI_MOUSE_MIDDLE_BUTTON_DOWN, VK_MBUTTON, true}, {RI_MOUSE_MIDDLE_BUTTON_UP, VK_MBUTTON, false},
};

// The GUI thread alone writes (WM_INPUT) and reads (the tick): no lock.
ButtonEvent keptEvents[kKeptEvents];
int keptCount = 0;

void Keep(const ButtonEvent& event) {
    if (keptCount == kKeptEvents) {
        for (int i = 1; i < kKeptEvents; ++i) {
            keptEvents[i - 1] = keptEvents[i];
        }
        --keptCount;
    }
    keptEvents[keptCount++] = event;
}

}  // namespace

bool WatchButtonEvents(HWND window) {
    // Generic desktop controls, mouse; the sink flag keeps the events coming while another
    // program has the foreground, which is nearly always.
    RAWINPUTDEVICE mouse = {0x01, 0x02, RIDEV_INPUTSINK, window};
    return RegisterRawInputDevices(&mouse, 1, sizeof(mouse)) != FALSE;
}

void NoteButtonEvents(HRAWINPUT input, int time, DWORD messagePos) {
    RAWINPUT data;
    UINT size = sizeof(data);
    if (GetRawInputData(input, RID_INPUT, &data, &size, sizeof(RAWINPUTHEADER)) == static_cast<UINT>(-1) ||
        data.header.dwType != RIM_TYPEMOUSE) {
        return;
    }
    const USHORT flags = data.data.mouse.usButtonFlags;
    if (flags == 0) {
        return;  // a move: nearly every message, and nothing to keep
    }
    const POINT at = {static_cast<short>(LOWORD(messagePos)), static_cast<short>(HIWORD(messagePos))};
    for (const ButtonFlag& button : kButtonFlags) {
        if ((flags & button.flag) != 0) {
            Keep(ButtonEvent{button.button, button.pressed, time, at});
        }
    }
}

int TakeButtonEvents(ButtonEvent* events, int capacity) {
    const int skipped = keptCount > capacity ? keptCount - capacity : 0;
    const int taken = keptCount - skipped;
    for (int i = 0; i < taken; ++i) {
        events[i] = keptEvents[skipped + i];
    }
    keptCount = 0;
    return taken;
}
