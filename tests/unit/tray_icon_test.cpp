#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "common/program.h"
#include "common/scoped_handle.h"
#include "resource_ids.h"
#include "tray/grey_icon.h"
#include "tray/tray_icon.h"
#include "unit/support/program_resources.h"

namespace {

// 32-bit pixels as GDI hands them out: 0x00RRGGBB.
constexpr uint32_t kWhite = 0xFFFFFF, kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kMidGrey = 0x808080,
                   kBlack = 0x000000, kOrange = 0xFF8000;
constexpr int kSize = 16;

std::vector<uint32_t> ReadPixels(HBITMAP bitmap, int bitCount) {
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = kSize;
    format.bmiHeader.biHeight = -kSize;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = static_cast<WORD>(bitCount);
    std::vector<uint32_t> pixels(kSize * kSize * 2);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, kSize, pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// A 16 x 16 icon whose first row holds the test colours, orange elsewhere; the mask makes the
// left half transparent.
HICON MakeTestIcon() {
    std::vector<uint32_t> colour(kSize * kSize, kOrange);
    const uint32_t firstRow[] = {kWhite, kRed, kGreen, kBlue, kMidGrey, kBlack};
    std::copy(std::begin(firstRow), std::end(firstRow), colour.begin());
    std::vector<BYTE> mask(kSize * 2);  // 1 bit a pixel, rows of 2 bytes (WORD aligned)
    for (int row = 0; row < kSize; ++row) {
        mask[row * 2] = 0xFF;
    }
    ScopedGdiObject colourBitmap(CreateBitmap(kSize, kSize, 1, 32, colour.data()));
    ScopedGdiObject maskBitmap(CreateBitmap(kSize, kSize, 1, 1, mask.data()));
    ICONINFO info = {TRUE, 0, 0, static_cast<HBITMAP>(maskBitmap.Get()), static_cast<HBITMAP>(colourBitmap.Get())};
    return CreateIconIndirect(&info);
}

}  // namespace

TEST(GreyIcon, WeighsGreenRedBlueAndLeavesBlackAndTheMaskAlone) {
    ScopedIcon colour(MakeTestIcon());
    ASSERT_TRUE(colour);
    ScopedIcon grey(MakeGreyIcon(colour.Get()));
    ASSERT_TRUE(grey);
    ICONINFO colourInfo = {};
    ICONINFO greyInfo = {};
    ASSERT_TRUE(GetIconInfo(colour.Get(), &colourInfo));
    ASSERT_TRUE(GetIconInfo(grey.Get(), &greyInfo));
    ScopedGdiObject colourMask(colourInfo.hbmMask), colourBits(colourInfo.hbmColor);
    ScopedGdiObject greyMask(greyInfo.hbmMask), greyBits(greyInfo.hbmColor);

    std::vector<uint32_t> pixels = ReadPixels(greyInfo.hbmColor, 32);
    auto level = [&](int x) { return pixels[static_cast<size_t>(x)] & 0xFFFFFF; };
    EXPECT_EQ(level(0), 0xFFFFFFu) << "white";
    EXPECT_EQ(level(1), 0x4C4C4Cu) << "red becomes 76";
    EXPECT_EQ(level(2), 0x959595u) << "green becomes 149";
    EXPECT_EQ(level(3), 0x1D1D1Du) << "blue becomes 29";
    EXPECT_EQ(level(4), 0x808080u) << "mid grey stays";
    EXPECT_EQ(level(5), 0u) << "black stays black";
    EXPECT_EQ(level(kSize * kSize - 1), 0x979797u) << "orange: 0.587 * 128 + 0.299 * 255 = 151.4";
    EXPECT_EQ(ReadPixels(greyInfo.hbmMask, 1), ReadPixels(colourInfo.hbmMask, 1));
}

TEST(GreyIcon, KeepsAnAlphaChannelAndRefusesAMonochromeIcon) {
    uint32_t pixels[] = {0x80FF0000u, 0xFF000000u, 0x00000000u};
    GreyPixels(pixels, 3);
    EXPECT_EQ(pixels[0], 0x804C4C4Cu);
    EXPECT_EQ(pixels[1], 0xFF000000u);
    EXPECT_EQ(pixels[2], 0u);
    BYTE andMask[kSize * 2] = {};
    BYTE xorMask[kSize * 2] = {};
    ScopedIcon monochrome(CreateIcon(nullptr, kSize, kSize, 1, 1, andMask, xorMask));
    ASSERT_TRUE(monochrome);
    EXPECT_EQ(MakeGreyIcon(monochrome.Get()), nullptr);
    EXPECT_EQ(MakeGreyIcon(nullptr), nullptr);
}

namespace {

// LoadImageW as Windows answers it: a shared image is the one first loaded under its name,
// whatever size is asked (Wine keeps one a size).
HANDLE WINAPI LoadImageAsWindows(HINSTANCE module, LPCWSTR name, UINT type, int cx, int cy, UINT flags) {
    static HANDLE firstShared = nullptr;
    if ((flags & LR_SHARED) == 0) {
        return LoadImageW(module, name, type, cx, cy, flags);
    }
    if (firstShared == nullptr) {
        firstShared = LoadImageW(module, name, type, cx, cy, flags & ~LR_SHARED);
    }
    return firstShared;
}

}  // namespace

// The title bar and the tray show the small size, Alt+Tab the large one, and each scale has
// its own: every icon is the caller's own, at the size asked.
TEST(ProgramIcon, EverySizeGetsAnImageOfItsOwnThatTheCallerOwns) {
    HMODULE program = LoadProgramResources();
    ASSERT_NE(program, nullptr);
    for (int size : {32, 16, 20, 24, 48}) {
        SCOPED_TRACE(size);
        ScopedIcon first(LoadIconAtSize(program, IDI_PROGRAM, size, LoadImageAsWindows));
        ScopedIcon second(LoadIconAtSize(program, IDI_PROGRAM, size, LoadImageAsWindows));
        ASSERT_TRUE(first && second);
        EXPECT_NE(first.Get(), second.Get()) << "a shared icon: the cache's, not the caller's";
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(first.Get(), &info));
        ScopedGdiObject mask(info.hbmMask), colour(info.hbmColor);
        BITMAP bitmap = {};
        ASSERT_TRUE(GetObjectW(colour.Get(), sizeof(bitmap), &bitmap));
        EXPECT_EQ(bitmap.bmWidth, size);
        EXPECT_EQ(bitmap.bmHeight, size);
    }
    FreeLibrary(program);
}

namespace {

// The size of `icon` and the colour of its first pixel.
std::pair<int, uint32_t> SizeAndFirstPixel(HICON icon) {
    ICONINFO info = {};
    if (icon == nullptr || !GetIconInfo(icon, &info)) {
        return {0, 0};
    }
    ScopedGdiObject mask(info.hbmMask), colour(info.hbmColor);
    BITMAP bitmap = {};
    GetObjectW(colour.Get(), sizeof(bitmap), &bitmap);
    return {bitmap.bmWidth, ReadPixels(info.hbmColor, 32)[0] & 0xFFFFFF};
}

}  // namespace

// The taskbar may be on a monitor of another scale than the dialog: the dialog's small icon
// is shown where it has the taskbar's small-icon size, else the program's icon drawn at it.
TEST(TrayPicture, IsLoadedAtTheSmallIconSizeOfTheTaskbarsDpi) {
    HMODULE program = LoadProgramResources();
    ASSERT_NE(program, nullptr);
    HWND dialog = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(dialog, nullptr);
    ScopedIcon dialogIcon(MakeTestIcon());  // 16 x 16, white in its first pixel
    SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(dialogIcon.Get()));

    ScopedIcon at96(BuildTrayPicture(program, dialog, IDI_PROGRAM, false, 96));
    EXPECT_EQ(SizeAndFirstPixel(at96.Get()), std::make_pair(16, kWhite)) << "the dialog's own";
    for (UINT dpi : {120u, 144u, 192u}) {
        ScopedIcon picture(BuildTrayPicture(program, dialog, IDI_PROGRAM, false, dpi));
        EXPECT_EQ(SizeAndFirstPixel(picture.Get()).first, static_cast<int>(dpi / 6)) << dpi << " dpi";
        ScopedIcon grey(BuildTrayPicture(program, nullptr, IDI_PROGRAM, true, dpi));
        EXPECT_EQ(SizeAndFirstPixel(grey.Get()).first, static_cast<int>(dpi / 6)) << dpi << " dpi, grey";
    }
    DestroyWindow(dialog);
    FreeLibrary(program);
}

TEST(NotifyRecord, CarriesTheCallbackAlwaysAndTheTipCutTo127) {
    HWND owner = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x1234));
    std::wstring longTip(300, L'x');
    NOTIFYICONDATAW record = MakeNotifyRecord(owner, kTrayIconId, NIF_TIP, nullptr, longTip.c_str());
    EXPECT_EQ(record.cbSize, NOTIFYICONDATAW_V2_SIZE);
    EXPECT_EQ(record.hWnd, owner);
    EXPECT_EQ(record.uID, kTrayIconId);
    EXPECT_EQ(record.uCallbackMessage, kTrayCallbackMessage) << "the message the main window handles";
    EXPECT_EQ(std::wstring(record.szTip), std::wstring(127, L'x'));
    EXPECT_EQ(std::wstring(MakeNotifyRecord(owner, kTrayIconId, NIF_TIP, nullptr, L"Velmora").szTip), L"Velmora");
    EXPECT_EQ(MakeNotifyRecord(owner, kTrayIconId, NIF_MESSAGE, nullptr, nullptr).szTip[0], L'\0');
}

namespace {

// A shell as naive as can be: it accepts every add, also a second one of the same icon, so
// only the program can keep the icon single. It can lose its icons, and hold the icon thread
// inside its picture for as long as a hung GUI thread would.
class ScriptedShell : public TrayShell {
  public:
    bool Notify(DWORD message, NOTIFYICONDATAW* record) override {
        std::lock_guard lock(mutex_);
        EXPECT_EQ(record->uID, kTrayIconId);
        if (GetCurrentThreadId() != testThread_) {
            iconThread = GetCurrentThreadId();
        }
        records.push_back({message, record->uFlags, record->uVersion, record->szTip});
        switch (message) {
            case NIM_SETVERSION:
                return record->uVersion == acceptedVersion;
            case NIM_SETFOCUS:
                return icons > 0;
            case NIM_ADD:
                ++adds;
                maxIcons = std::max(maxIcons.load(), ++icons);
                return true;
            case NIM_MODIFY:
                return icons > 0;
            case NIM_DELETE:
                icons = 0;
                return true;
            default:
                return false;
        }
    }

    HICON BuildIcon(HWND, UINT, bool grey) override {
        lastGrey = grey;
        if (GetCurrentThreadId() != testThread_) {
            SetEvent(buildEntered.Get());
            WaitForSingleObject(buildRelease.Get(), 10000);
        }
        return nullptr;
    }

    bool IconRect(HWND, UINT, RECT*) override { return false; }

    void Lose() {
        std::lock_guard lock(mutex_);
        icons = 0;
    }

    std::atomic<int> icons = 0;
    std::atomic<int> adds = 0;
    std::atomic<int> maxIcons = 0;
    std::atomic<DWORD> iconThread = 0;
    std::atomic<bool> lastGrey = false;
    // The protocol version this shell knows (0: only the original one).
    UINT acceptedVersion = 0;
    struct Record {
        DWORD message;
        UINT flags;
        UINT version;
        std::wstring tip;
    };
    std::vector<Record> records;
    // Reset both to hold the icon thread in BuildIcon until buildRelease is set again.
    ScopedKernelHandle buildEntered{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    ScopedKernelHandle buildRelease{CreateEventW(nullptr, TRUE, TRUE, nullptr)};

  private:
    std::mutex mutex_;
    const DWORD testThread_ = GetCurrentThreadId();
};

constexpr DWORD kFastPeriodMs = 5;
const HWND kOwner = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x1234));

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        Sleep(2);
    }
    return true;
}

DWORD ExitCodeOf(HANDLE thread) {
    DWORD code = 0;
    if (WaitForSingleObject(thread, 5000) == WAIT_OBJECT_0) {
        GetExitCodeThread(thread, &code);
    }
    return code;
}

}  // namespace

TEST(TrayIcon, AddsOnceModifiesAfterwardsPutsALostIconBackAndStopsWith1092) {
    ScriptedShell shell;
    TrayIcon tray(shell, kFastPeriodMs);
    tray.SetOwnerWindow(kOwner);
    tray.Create(kTrayIconId, L"Velmora", true);
    EXPECT_EQ(shell.icons.load(), 1);
    tray.SetDisabledLook(true);
    tray.Refresh();
    EXPECT_TRUE(shell.lastGrey.load());
    EXPECT_EQ(shell.adds.load(), 1) << "an icon the shell has is modified, not added again";

    shell.Lose();
    EXPECT_TRUE(WaitUntil([&] { return shell.icons == 1; }, 3000)) << "the thread puts it back";
    EXPECT_TRUE(shell.lastGrey.load()) << "with the look of now";
    ScopedKernelHandle iconThread(OpenThread(SYNCHRONIZE | THREAD_QUERY_INFORMATION, FALSE, shell.iconThread.load()));
    ASSERT_TRUE(iconThread);

    EXPECT_TRUE(tray.Remove());
    EXPECT_FALSE(tray.ThreadRunning());
    EXPECT_EQ(ExitCodeOf(iconThread.Get()), kIconThreadExitCode);
    tray.Refresh();
    EXPECT_EQ(shell.icons.load(), 0) << "nothing comes back after removal";
    EXPECT_EQ(shell.maxIcons.load(), 1);
}

// The GUI thread refreshes (the disabled look, a new taskbar) while the shell keeps losing
// the icon and the thread keeps putting it back: never two icons.
TEST(TrayIcon, RefreshesOnTwoThreadsNeverMakeASecondIcon) {
    ScriptedShell shell;
    TrayIcon tray(shell, 1);
    tray.SetOwnerWindow(kOwner);
    tray.Create(kTrayIconId, L"Velmora", true);
    DWORD start = GetTickCount();
    for (int round = 0; GetTickCount() - start < 1500; ++round) {
        if (round % 3 == 0) {
            shell.Lose();
        }
        tray.SetDisabledLook(round % 2 == 0);
        tray.Refresh();
    }
    tray.Remove();
    EXPECT_EQ(shell.maxIcons.load(), 1);
    EXPECT_EQ(shell.icons.load(), 0);
}

// A thread killed in the middle of its work can hold a lock the ending program needs; one
// that is asked to stop may be held up itself (here inside its picture, as by a GUI thread
// that does not answer). Removal gives it a bounded time and goes on, and the late thread
// adds nothing.
TEST(TrayIcon, RemovalWhileTheThreadBuildsItsIconIsBoundedAndLeavesNoIcon) {
    ScriptedShell shell;
    {
        TrayIcon tray(shell, kFastPeriodMs);
        tray.SetOwnerWindow(kOwner);
        tray.Create(kTrayIconId, L"Velmora", true);
        ResetEvent(shell.buildEntered.Get());
        ResetEvent(shell.buildRelease.Get());
        shell.Lose();
        ASSERT_EQ(WaitForSingleObject(shell.buildEntered.Get(), 3000), WAIT_OBJECT_0);

        DWORD start = GetTickCount();
        EXPECT_FALSE(tray.Remove()) << "the thread could not stop in time";
        EXPECT_LE(GetTickCount() - start, kIconThreadStopWaitMs + 1000);
        SetEvent(shell.buildRelease.Get());
    }  // the end of the object waits for the late thread
    EXPECT_EQ(shell.icons.load(), 0);
    EXPECT_EQ(shell.adds.load(), 1);
}

// The three threads that meet in the object at once, over and over: the GUI thread refreshing
// and re-creating the icon, the icon thread putting a lost icon back every millisecond, and a
// third thread removing it as the crash filter would. Whoever wins, no second icon appears,
// nothing is added after the last removal, and the thread always stops.
TEST(TrayIcon, ThreeThreadsCreatingRefreshingAndRemovingNeverLeaveAnIconBehind) {
    ScriptedShell shell;
    TrayIcon tray(shell, 1);
    tray.SetOwnerWindow(kOwner);
    for (int round = 0; round < 40; ++round) {
        tray.Create(kTrayIconId, L"Velmora", true);
        HANDLE remover = CreateThread(
            nullptr, 0,
            [](void* param) -> DWORD {
                Sleep(3);
                static_cast<TrayIcon*>(param)->Remove();
                return 0;
            },
            &tray, 0, nullptr);
        ASSERT_NE(remover, nullptr);
        for (int step = 0; WaitForSingleObject(remover, 0) == WAIT_TIMEOUT; ++step) {
            if (step % 2 == 0) {
                shell.Lose();
            }
            tray.SetDisabledLook(step % 3 == 0);
            tray.SetIconSourceWindow(step % 2 == 0 ? nullptr : kOwner);
            tray.Refresh();
        }
        CloseHandle(remover);
        EXPECT_FALSE(tray.ThreadRunning()) << "round " << round;
        tray.Refresh();
        EXPECT_EQ(shell.icons.load(), 0) << "round " << round;
    }
    EXPECT_EQ(shell.maxIcons.load(), 1);
}

// Version 4 hides the standard tip unless each add and change asks for it (Wine shows it
// anyway); the older protocols are handed exactly what they always were. A keyboard user
// gets the notification area's focus back through the shell.
TEST(TrayIcon, AsksForTheTipUnderVersion4OnlyAndHandsTheKeyboardBack) {
    for (UINT version : {0u, 3u, 4u}) {
        SCOPED_TRACE(version);
        ScriptedShell shell;
        shell.acceptedVersion = version;
        TrayIcon tray(shell, kFastPeriodMs);
        tray.SetOwnerWindow(kOwner);
        tray.Create(kTrayIconId, L"Velmora", false);
        tray.Refresh();
        shell.Lose();
        tray.Refresh();  // added again: the protocol is asked for again
        tray.ReturnFocus();

        int adds = 0, tipsAskedFor = 0, setFocus = 0;
        UINT versionNow = 0;
        for (const ScriptedShell::Record& r : shell.records) {
            if (r.message == NIM_SETVERSION) {
                versionNow = r.version == version ? version : versionNow;
                continue;
            }
            setFocus += r.message == NIM_SETFOCUS;
            adds += r.message == NIM_ADD;
            const bool showTip = (r.flags & NIF_SHOWTIP) != 0;
            if (r.message == NIM_ADD) {
                versionNow = 0;  // a new icon starts with the original protocol
                EXPECT_FALSE(showTip) << "the add comes before the shell knows the version";
            } else if (r.message == NIM_MODIFY) {
                EXPECT_EQ(showTip, versionNow == 4) << "flags " << r.flags;
                tipsAskedFor += showTip && (r.flags & NIF_TIP) != 0 && r.tip == L"Velmora";
            }
        }
        EXPECT_EQ(adds, 2);
        EXPECT_EQ(tipsAskedFor, version == 4 ? 3 : 0) << "right after each add, and on the refresh";
        EXPECT_EQ(setFocus, 1);
        EXPECT_EQ(shell.records.back().message, static_cast<DWORD>(NIM_SETFOCUS));
        EXPECT_EQ(shell.records.back().flags, 0u);
        tray.Remove();
        tray.ReturnFocus();
        EXPECT_NE(shell.records.back().message, static_cast<DWORD>(NIM_SETFOCUS)) << "no icon, no focus to give";
    }
}
