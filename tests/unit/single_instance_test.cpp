#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/single_instance.h"

namespace {

// Two running instances' windows, and a record of what the second start asks of the system.
class RecordedAnnouncement : public InstanceAnnouncement {
  public:
    std::vector<HWND> windows;
    std::vector<DWORD> processes;
    std::vector<std::wstring> calls;

    HWND NextInstanceWindow(HWND after) override {
        size_t next = 0;
        while (after != nullptr && next < windows.size() && windows[next++] != after) {
        }
        return next < windows.size() ? windows[next] : nullptr;
    }
    DWORD ProcessOf(HWND window) override {
        for (size_t i = 0; i < windows.size(); ++i) {
            if (windows[i] == window) {
                return processes[i];
            }
        }
        return 0;
    }
    void AllowForeground(DWORD processId) override { calls.push_back(L"allow " + std::to_wstring(processId)); }
    void Announce() override { calls.push_back(L"announce"); }
};

HWND Window(ULONG_PTR value) {
    return reinterpret_cast<HWND>(value);
}

}  // namespace

// Windows lets the running instance take the foreground only with the consent of the process
// the user just started (Wine checks no such right): the consent comes before the news.
TEST(SecondStart, LetsEveryRunningInstanceTakeTheForegroundBeforeAnnouncingItself) {
    RecordedAnnouncement two;
    two.windows = {Window(0x100), Window(0x200)};
    two.processes = {1234, 5678};
    AnnounceSecondStart(two);
    EXPECT_EQ(two.calls, (std::vector<std::wstring>{L"allow 1234", L"allow 5678", L"announce"}));

    RecordedAnnouncement none;
    AnnounceSecondStart(none);
    EXPECT_EQ(none.calls, std::vector<std::wstring>{L"announce"}) << "no instance window: only the announcement";

    RecordedAnnouncement vanished;
    vanished.windows = {Window(0x100)};
    vanished.processes = {0};  // closed meanwhile
    AnnounceSecondStart(vanished);
    EXPECT_EQ(vanished.calls, std::vector<std::wstring>{L"announce"});
}
