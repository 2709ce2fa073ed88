#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/single_instance.h"

namespace {

// Two running instances' windows, and a record of what the second start asks of the system.
class RecordedAnnouncement : public InstanceAnnouncement {
  public:
    std::vector<DWORD> processes;
    std::vector<std::wstring> calls;

    // Window i is (HWND)(i + 1).
    HWND NextInstanceWindow(HWND after) override {
        const auto next = reinterpret_cast<size_t>(after);
        return next < processes.size() ? reinterpret_cast<HWND>(next + 1) : nullptr;
    }
    DWORD ProcessOf(HWND window) override { return processes[reinterpret_cast<size_t>(window) - 1]; }
    void AllowForeground(DWORD processId) override { calls.push_back(L"allow " + std::to_wstring(processId)); }
    void Announce() override { calls.push_back(L"announce"); }
};

}  // namespace

// Windows lets the running instance take the foreground only with the consent of the process
// the user just started (Wine checks no such right): the consent comes before the news.
TEST(SecondStart, LetsEveryRunningInstanceTakeTheForegroundBeforeAnnouncingItself) {
    RecordedAnnouncement two;
    two.processes = {1234, 5678};
    AnnounceSecondStart(two);
    EXPECT_EQ(two.calls, (std::vector<std::wstring>{L"allow 1234", L"allow 5678", L"announce"}));

    RecordedAnnouncement none;
    AnnounceSecondStart(none);
    EXPECT_EQ(none.calls, std::vector<std::wstring>{L"announce"}) << "no instance window: only the announcement";

    RecordedAnnouncement vanished;
    vanished.processes = {0};  // closed meanwhile
    AnnounceSecondStart(vanished);
    EXPECT_EQ(vanished.calls, std::vector<std::wstring>{L"announce"});
}
