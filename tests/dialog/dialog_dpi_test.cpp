// The settings dialog moved to a monitor of another DPI: every control, font, picture and
// toolbar as a fresh start at that DPI would have them. The reference for 144 dpi is what Wine's
// own dialog manager makes of the template in the 144-dpi prefix (dialog_dpi_144.txt, checked
// by unit_dialog_FreshStartAt144), so the dialog is measured against the system, not against
// the program's own arithmetic.
//
// To write the reference anew, run the fresh-start test in the 144-dpi session with
// VELMORA_DPI_LAYOUT_OUT=<file>. VELMORA_DPI_PICTURES=<prefix> saves the dialog as BMPs
// (<prefix>96.bmp before the move, <prefix>144.bmp after it).
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "appearance/owner_drawn_menu_bar.h"
#include "dialog/dialog_commands.h"
#include "dialog/dialog_layout.h"
#include "dialog/hot_key_dialog.h"
#include "dialog/settings_dialog.h"
#include "resource_ids.h"
#include "unit/support/english_pack.h"
#include "dialog/run_value_keeper.h"

namespace {

// What the dialog looks like in numbers: a rectangle (client coordinates of the dialog) and
// a font height per part, by name.
struct Part {
    RECT rect;
    int fontHeight;
};
using Layout = std::map<std::string, Part>;

int FontHeight(HWND window) {
    auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    LOGFONTW logFont = {};
    return font != nullptr && GetObjectW(font, sizeof(logFont), &logFont) != 0 ? static_cast<int>(logFont.lfHeight) : 0;
}

RECT RectIn(HWND dialog, HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void AddButtons(Layout& layout, const std::string& name, HWND dialog, HWND toolbar) {
    const int count = static_cast<int>(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        RECT button = {};
        SendMessageW(toolbar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&button));
        MapWindowPoints(toolbar, dialog, reinterpret_cast<POINT*>(&button), 2);
        layout[name + ".button" + std::to_string(i)] = {button, 0};
    }
}

// The dialog's width and its controls; the controls in `named` under their names, the others
// by id (and count, for ids used more than once).
Layout ControlsOf(HWND dialog, const std::string& prefix, const std::map<HWND, std::string>& named = {}) {
    Layout layout;
    RECT client = {};
    GetClientRect(dialog, &client);
    // The height of the client area follows the frame, which Wine draws at the screen's DPI
    // whatever the window's: only the width is the dialog's own.
    layout[prefix + "client"] = {{0, 0, client.right, 0}, 0};
    std::map<int, int> seen;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        const auto found = named.find(child);
        const int id = GetDlgCtrlID(child) & 0xFFFF;
        const std::string name = found != named.end()
                                     ? found->second
                                     : prefix + "control" + std::to_string(id) + "." + std::to_string(seen[id]++);
        layout[name] = {RectIn(dialog, child), FontHeight(child)};
    }
    return layout;
}

Layout LayoutOf(HWND dialog) {
    const std::map<HWND, std::string> bars = {{LinkBarWindow(), "linkbar"},
                                              {DialogMenuBar().Window(), "menubar"},
                                              {DialogMenuBar().RightToolbar(), "menuright"}};
    Layout layout = ControlsOf(dialog, "", bars);
    for (const auto& [window, name] : bars) {
        AddButtons(layout, name, dialog, window);
    }
    // The right-hand buttons lie on the menu bar, not on the dialog.
    layout["menuright"] = {RectIn(dialog, DialogMenuBar().RightToolbar()), FontHeight(DialogMenuBar().RightToolbar())};
    BITMAP header = {};
    GetObjectW(
        reinterpret_cast<HGDIOBJ>(SendDlgItemMessageW(dialog, IDC_HEADER_PICTURE, STM_GETIMAGE, IMAGE_BITMAP, 0)),
        sizeof(header), &header);
    layout["headerbitmap"] = {{0, 0, header.bmWidth, header.bmHeight}, 0};
    return layout;
}

std::string Written(const Layout& layout) {
    std::ostringstream text;
    for (const auto& [name, part] : layout) {
        text << name << ' ' << part.rect.left << ' ' << part.rect.top << ' ' << part.rect.right << ' '
             << part.rect.bottom << ' ' << part.fontHeight << '\n';
    }
    return text.str();
}

Layout Read(const std::string& text) {
    Layout layout;
    std::istringstream lines(text);
    std::string name;
    Part part = {};
    while (lines >> name >> part.rect.left >> part.rect.top >> part.rect.right >> part.rect.bottom >> part.fontHeight) {
        layout[name] = part;
    }
    return layout;
}

// Each part of `expected` in `actual`, no edge and no font height more than a pixel apart.
void ExpectWithinAPixel(const Layout& actual, const Layout& expected, const char* what) {
    EXPECT_EQ(actual.size(), expected.size()) << what << ":\n" << Written(actual);
    for (const auto& [name, want] : expected) {
        const auto found = actual.find(name);
        if (found == actual.end()) {
            ADD_FAILURE() << what << ": no " << name;
            continue;
        }
        const Part& got = found->second;
        const int values[][2] = {{got.rect.left, want.rect.left},
                                 {got.rect.top, want.rect.top},
                                 {got.rect.right, want.rect.right},
                                 {got.rect.bottom, want.rect.bottom},
                                 {got.fontHeight, want.fontHeight}};
        for (const auto& value : values) {
            EXPECT_LE(std::abs(value[0] - value[1]), 1) << what << ": " << name << " is " << Written({{name, got}})
                                                        << " instead of " << Written({{name, want}});
        }
    }
}

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// A top-down 32-bit BMP of the window, frame included (ImageMagick makes a PNG of it).
void SavePicture(HWND window, const std::string& path) {
    RECT bounds = {};
    GetWindowRect(window, &bounds);
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    BITMAPINFOHEADER info = {sizeof(info), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    // Into a DIB section: the window's own surface, not what has reached the X server so far.
    void* bits = nullptr;
    HDC source = GetWindowDC(window);
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateDIBSection(source, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
    GdiFlush();
    const std::vector<DWORD> pixels(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + width * height);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, source);
    const DWORD pixelBytes = static_cast<DWORD>(pixels.size() * 4);
    const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof(info);
    BITMAPFILEHEADER header = {0x4D42, offset + pixelBytes, 0, 0, offset};
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(&header, sizeof(header), 1, file);
        std::fwrite(&info, sizeof(info), 1, file);
        std::fwrite(pixels.data(), 1, pixelBytes, file);
        std::fclose(file);
    }
}

// What the dialogs asked of the dialog manager's own DPI scaling (Wine has none to ask).
struct Behaviour {
    HWND window;
    int mask;
    int values;
};
std::vector<Behaviour> dialogBehaviours;
std::vector<Behaviour> controlBehaviours;

BOOL WINAPI RecordDialogBehaviour(HWND window, int mask, int values) {
    dialogBehaviours.push_back({window, mask, values});
    return TRUE;
}

BOOL WINAPI RecordControlBehaviour(HWND window, int mask, int values) {
    controlBehaviours.push_back({window, mask, values});
    return TRUE;
}

// The dialog manager leaves `dialog` and each of its controls, toolbars too, to the program.
void ExpectScalingTakenOver(HWND dialog) {
    int told = 0;
    for (const Behaviour& call : dialogBehaviours) {
        told += call.window == dialog && call.mask == DDC_DISABLE_ALL && call.values == DDC_DISABLE_ALL ? 1 : 0;
    }
    EXPECT_EQ(told, 1);
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        constexpr int kBoth = DCDC_DISABLE_FONT_UPDATE | DCDC_DISABLE_RELAYOUT;
        int childTold = 0;
        for (const Behaviour& call : controlBehaviours) {
            childTold += call.window == child && call.mask == kBoth && call.values == kBoth ? 1 : 0;
        }
        EXPECT_EQ(childTold, 1) << "control " << GetDlgCtrlID(child);
    }
}

// As Windows moves a window to a monitor of `dpi`: it asks the window for its size there,
// then hands it the rectangle at its old place.
void MoveToMonitorOf(HWND window, UINT dpi) {
    RECT bounds = {};
    GetWindowRect(window, &bounds);
    SIZE size = {bounds.right - bounds.left, bounds.bottom - bounds.top};
    SendMessageW(window, WM_GETDPISCALEDSIZE, dpi, reinterpret_cast<LPARAM>(&size));
    RECT suggested = {bounds.left, bounds.top, bounds.left + size.cx, bounds.top + size.cy};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

// The hot-key dialog's layout, read inside its modal loop after moves to monitors of `dpis`,
// one after the other; the dialog then ends.
struct HotKeyVisit {
    std::vector<UINT> dpis;
    Layout layout;
};
HotKeyVisit* hotKeyVisit = nullptr;

BOOL CALLBACK VisitHotKeyDialog(HWND window, LPARAM) {
    if (GetDlgItem(window, IDC_HOTKEY_CONTROL) == nullptr) {
        return TRUE;
    }
    ExpectScalingTakenOver(window);
    for (UINT dpi : hotKeyVisit->dpis) {
        MoveToMonitorOf(window, dpi);
    }
    hotKeyVisit->layout = ControlsOf(window, "hotkey.");
    PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    return FALSE;
}

Layout HotKeyDialogLayout(HWND owner, std::vector<UINT> dpis) {
    HotKeyVisit visit = {std::move(dpis), {}};
    hotKeyVisit = &visit;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
        if (!EnumThreadWindows(GetCurrentThreadId(), VisitHotKeyDialog, 0)) {
            KillTimer(nullptr, id);
        }
    });
    ShowHotKeyDialog(owner);
    KillTimer(nullptr, timer);
    hotKeyVisit = nullptr;
    return visit.layout;
}

class DialogDpi : public EnglishPackTest {
  protected:
    void SetUp() override {
        EnglishPackTest::SetUp();
        INITCOMMONCONTROLSEX controls = {sizeof(controls), 0x5FF};
        InitCommonControlsEx(&controls);
        setDialogDpiBehaviour = RecordDialogBehaviour;
        setControlDpiBehaviour = RecordControlBehaviour;
        dialog_ = CreateSettingsDialog(nullptr, true);
        ASSERT_NE(dialog_, nullptr);
        KillTimer(dialog_, kDialogTimerId);  // no engine ticks in a test process
        KillTimer(dialog_, kTickTimerId);
        SetWindowPos(dialog_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        Settle();
    }
    void TearDown() override {
        DestroyWindow(dialog_);
        settingsDialog = nullptr;
        EnglishPackTest::TearDown();
    }

    // The messages the dialog posted itself (and its paints) handled.
    void Settle() {
        for (int round = 0; round < 5; ++round) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessageW(&message);
            }
            UpdateWindow(dialog_);
            Sleep(20);
        }
    }

    void MoveToMonitorOf(UINT dpi) {
        ::MoveToMonitorOf(dialog_, dpi);
        Settle();
    }

    void SavePictureAs(const char* suffix) {
        if (const char* prefix = std::getenv("VELMORA_DPI_PICTURES")) {
            SavePicture(dialog_, std::string(prefix) + suffix + ".bmp");
        }
    }

    RunValueKeeper runValue_;
    HWND dialog_ = nullptr;
};

Layout Reference144() {
    std::ifstream file(VELMORA_DPI_LAYOUT_144);
    std::stringstream text;
    text << file.rdbuf();
    return Read(text.str());
}

}  // namespace

// Runs in the 144-dpi session (unit_dialog_FreshStartAt144): the reference is still what Wine's
// dialog manager and the program's own start make of the dialog at 144 dpi.
TEST_F(DialogDpi, FreshStartAt144IsTheReference) {
    if (ScreenDpi() != 144) {
        GTEST_SKIP() << "the screen has " << ScreenDpi() << " dpi; the test needs 144";
    }
    SavePictureAs("fresh144");
    Layout fresh = LayoutOf(dialog_);
    fresh.merge(HotKeyDialogLayout(dialog_, {}));
    if (const char* out = std::getenv("VELMORA_DPI_LAYOUT_OUT")) {
        std::ofstream(out) << Written(fresh);
    }
    const Layout reference = Reference144();
    ASSERT_FALSE(reference.empty());
    ExpectWithinAPixel(fresh, reference, "fresh start at 144 dpi");
}

// Started at 96 dpi, with the dialog manager's own scaling switched off, moved to a monitor of
// 144 and back: each time as a fresh start there.
TEST_F(DialogDpi, MovedTo144AndBackIsLaidOutAsAFreshStart) {
    if (ScreenDpi() != 96) {
        GTEST_SKIP() << "the screen has " << ScreenDpi() << " dpi; the test needs 96";
    }
    ExpectScalingTakenOver(dialog_);
    Layout at96 = LayoutOf(dialog_);
    SavePictureAs("96");
    if (const char* out = std::getenv("VELMORA_DPI_LAYOUT_OUT")) {
        std::ofstream(out) << Written(at96);
    }
    MoveToMonitorOf(144);
    SavePictureAs("144");
    Layout moved = LayoutOf(dialog_);
    moved.merge(HotKeyDialogLayout(dialog_, {144}));
    ExpectWithinAPixel(moved, Reference144(), "moved to 144 dpi");
    MoveToMonitorOf(96);
    Layout back = LayoutOf(dialog_);
    back.merge(HotKeyDialogLayout(dialog_, {144, 96}));
    at96.merge(HotKeyDialogLayout(dialog_, {}));
    ExpectWithinAPixel(back, at96, "moved back to 96 dpi");
}
