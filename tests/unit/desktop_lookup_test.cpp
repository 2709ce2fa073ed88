#include <gtest/gtest.h>

#include "desktop/desktop_lookup.h"
#include "scripted_desktop.h"

namespace {

constexpr RECT kScreen = {0, 0, 1280, 800};

struct ShellDesktop {
    HWND top, defView, listView;
};

ShellDesktop AddShellDesktop(ScriptedDesktop& desk, const wchar_t* className, const wchar_t* title, int z) {
    ShellDesktop shell;
    shell.top = desk.Add(className, title, kScreen, nullptr, z);
    shell.defView = desk.Add(L"SHELLDLL_DefView", L"", kScreen, shell.top);
    shell.listView = desk.Add(L"SysListView32", L"FolderView", kScreen, shell.defView);
    return shell;
}

}  // namespace

TEST(FindDesktopListView, FindsTheDesktopUnderProgramManager) {
    ScriptedDesktop desk;
    const ShellDesktop shell = AddShellDesktop(desk, L"Progman", L"Program Manager", 100);
    const DesktopWindows found = FindDesktopListViewOn(desk);
    EXPECT_EQ(found.listView, shell.listView);
    EXPECT_EQ(found.defView, shell.defView);
}

TEST(FindDesktopListView, FallsBackToTheFirstWorkerThatHoldsADesktopView) {
    ScriptedDesktop desk;
    const HWND programManager = desk.Add(L"Progman", L"Program Manager", kScreen, nullptr, 100);
    desk.Add(L"SHELLDLL_DefView", L"", kScreen, programManager);  // no list view: not good enough
    desk.Add(L"WorkerW", L"", kScreen, nullptr, 10);
    const ShellDesktop worker = AddShellDesktop(desk, L"WorkerW", L"", 20);
    AddShellDesktop(desk, L"WorkerW", L"", 30);
    const DesktopWindows found = FindDesktopListViewOn(desk);
    EXPECT_EQ(found.listView, worker.listView);
    EXPECT_EQ(found.defView, worker.defView);
}

TEST(FindDesktopListView, AWorkersDesktopViewWithoutListViewEndsTheSearch) {
    ScriptedDesktop desk;
    const HWND worker = desk.Add(L"WorkerW", L"", kScreen, nullptr, 10);
    const HWND defView = desk.Add(L"SHELLDLL_DefView", L"", kScreen, worker);
    AddShellDesktop(desk, L"WorkerW", L"", 20);
    const DesktopWindows found = FindDesktopListViewOn(desk);
    EXPECT_EQ(found.listView, nullptr);
    EXPECT_EQ(found.defView, defView);
}

TEST(FindDesktopListView, NoShellGivesNothing) {
    ScriptedDesktop desk;
    desk.Add(L"WorkerW", L"", kScreen);
    const DesktopWindows found = FindDesktopListViewOn(desk);
    EXPECT_EQ(found.listView, nullptr);
    EXPECT_EQ(found.defView, nullptr);
}

TEST(WindowUnderPoint, ATopLevelWindowIsItsOwnAnswer) {
    ScriptedDesktop desk;
    const HWND big = desk.Add(L"Big", L"", {0, 0, 500, 500});
    desk.Add(L"Small", L"", {10, 10, 50, 50});
    EXPECT_EQ(WindowUnderPointOn(desk, {20, 20}), big);
    EXPECT_EQ(WindowUnderPointOn(desk, {600, 600}), nullptr);
}

TEST(WindowUnderPoint, PrefersTheSmallestVisibleSiblingBelowThatContainsThePoint) {
    ScriptedDesktop desk;
    const HWND dialog = desk.Add(L"Dialog", L"", {0, 0, 500, 500});
    const HWND groupBox = desk.Add(L"Button", L"group", {10, 10, 300, 300}, dialog);
    const HWND hiddenTiny = desk.Add(L"Button", L"hidden", {20, 20, 30, 30}, dialog);
    const HWND check = desk.Add(L"Button", L"check", {20, 20, 120, 40}, dialog);
    desk.Add(L"Button", L"same size, lower", {20, 20, 120, 40}, dialog);
    desk.SetVisible(hiddenTiny, false);
    EXPECT_EQ(WindowUnderPointOn(desk, {25, 25}), check);
    EXPECT_EQ(WindowUnderPointOn(desk, {200, 200}), groupBox);
}
