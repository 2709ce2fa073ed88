// The desktop most engine tests start from: a 1280x800 screen with the shell's desktop at the
// bottom (list view over its whole area), an editor window above it and the taskbar along the
// bottom edge. The engine's state and the settings start fresh in every test, and every tick
// is checked for heap allocations and for changes asked of windows that are not there.
#pragma once
#include <gtest/gtest.h>

#include "allocation_counter.h"
#include "desktop/auto_hide_tick.h"
#include "scripted_desktop.h"
#include "settings/settings.h"
#include "settings/writable_settings.h"

class EngineTest : public ::testing::Test {
  protected:
    static constexpr POINT kOnDesktop = {640, 300};
    static constexpr POINT kElsewhereOnDesktop = {900, 500};
    static constexpr POINT kOnEditor = {200, 200};
    static constexpr POINT kElsewhereOnEditor = {300, 250};
    static constexpr POINT kOnTaskbar = {640, 780};
    static constexpr POINT kOnSecondaryTaskbar = {1500, 780};

    void SetUp() override {
        WritableSettings() = Settings{};
        taskbar = desk.Add(L"Shell_TrayWnd", L"", {0, 760, 1280, 800});
        editor = desk.Add(L"Notepad", L"Untitled - Notepad", {100, 100, 500, 400});
        progman = desk.Add(L"Progman", L"Program Manager", {0, 0, 1280, 800}, nullptr, 100);
        defView = desk.Add(L"SHELLDLL_DefView", L"", {0, 0, 1280, 800}, progman);
        listView = desk.Add(L"SysListView32", L"FolderView", {0, 0, 1280, 800}, defView);
    }

    void TearDown() override { WritableSettings() = Settings{}; }

    HWND AddSecondaryTaskbar() { return desk.Add(L"Shell_SecondaryTrayWnd", L"", {1280, 760, 2560, 800}); }

    // Runs one tick at `ms` on the program clock.
    void TickAt(int ms) {
        desk.now = ms;
        const long long before = allocationCount;
        AutoHideTickOn(desk, state);
        EXPECT_EQ(allocationCount, before) << "the tick at " << ms << " ms allocated";
        EXPECT_EQ(desk.changesOfMissingWindows, 0) << "the tick at " << ms << " ms changed a window that is not there";
    }
    void TickAt(int ms, POINT cursor) {
        desk.cursor = cursor;
        TickAt(ms);
    }
    // Ticks every 30 ms from `fromMs` up to and including `toMs`, the cursor left alone.
    void TickEvery30Ms(int fromMs, int toMs) {
        for (int ms = fromMs; ms <= toMs; ms += 30) {
            TickAt(ms);
        }
    }
    // Ticks every 30 ms, the cursor moving back and forth between two points.
    void WiggleBetween(POINT a, POINT b, int fromMs, int toMs) {
        bool atA = false;
        for (int ms = fromMs; ms <= toMs; ms += 30) {
            atA = !atA;
            TickAt(ms, atA ? a : b);
        }
    }
    // The usual start: the cursor arrives over the icons at 0 ms and the icons hide after
    // the default 5 s; returns the time of the tick that hid them.
    int HideIconsByIdling() {
        TickAt(0, kOnDesktop);
        TickAt(5001);
        EXPECT_FALSE(IconsVisible());
        desk.ForgetRecords();
        return 5001;
    }

    bool IconsVisible() { return desk.Visible(listView); }
    void Press(int virtualKey) { desk.keys[virtualKey] = true; }
    void Release(int virtualKey) { desk.keys[virtualKey] = false; }
    // A click of a few milliseconds at `at` that starts at `ms`: over before any tick sees the
    // button down, only its events tell of it.
    void Tap(int virtualKey, POINT at, int ms) {
        desk.AddButtonEvent(virtualKey, true, ms, at);
        desk.AddButtonEvent(virtualKey, false, ms + 5, at);
    }

    ScriptedDesktop desk;
    EngineState state;
    HWND taskbar = nullptr;
    HWND editor = nullptr;
    HWND progman = nullptr;
    HWND defView = nullptr;
    HWND listView = nullptr;
};
