#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <optional>

#include "tray/minimise_animation.h"

namespace {

// A shell that answers only what a test gives it.
struct ScriptedPlaces : TrayPlaces {
    std::optional<RECT> notificationArea;
    std::optional<std::pair<UINT, RECT>> taskbarPosition;
    std::optional<RECT> taskbarWindow;
    RECT workArea = {0, 0, 1920, 1040};

    bool NotificationArea(RECT* rect) override { return Give(notificationArea, rect); }
    bool TaskbarPosition(UINT* edge, RECT* rect) override {
        if (!taskbarPosition) {
            return false;
        }
        *edge = taskbarPosition->first;
        *rect = taskbarPosition->second;
        return true;
    }
    bool TaskbarWindow(RECT* rect) override { return Give(taskbarWindow, rect); }
    RECT WorkArea() override { return workArea; }

    static bool Give(const std::optional<RECT>& answer, RECT* rect) {
        if (answer) {
            *rect = *answer;
        }
        return answer.has_value();
    }
};

testing::AssertionResult Is(const RECT& actual, LONG left, LONG top, LONG right, LONG bottom) {
    if (actual.left == left && actual.top == top && actual.right == right && actual.bottom == bottom) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << "{" << actual.left << ", " << actual.top << ", " << actual.right << ", "
                                       << actual.bottom << "}";
}

}  // namespace

TEST(TrayTarget, TheNotificationAreaWinsOverEverythingElse) {
    ScriptedPlaces places;
    places.notificationArea = RECT{1700, 1040, 1850, 1080};
    places.taskbarPosition = {{ABE_BOTTOM, {0, 1040, 1920, 1080}}};
    places.taskbarWindow = RECT{0, 1040, 1920, 1080};
    EXPECT_TRUE(Is(GetTrayTargetRect(places), 1700, 1040, 1850, 1080));
}

TEST(TrayTarget, FromTheShellsTaskbarPositionA84PixelPieceEnding16BeforeTheFarEnd) {
    ScriptedPlaces places;
    places.taskbarWindow = RECT{0, 0, 10, 10};  // asked only when the shell does not answer
    places.taskbarPosition = {{ABE_BOTTOM, {0, 1040, 1920, 1080}}};
    EXPECT_TRUE(Is(GetTrayTargetRect(places), 1820, 1040, 1904, 1080));
    places.taskbarPosition = {{ABE_TOP, {0, 0, 1920, 40}}};
    EXPECT_TRUE(Is(GetTrayTargetRect(places), 1820, 0, 1904, 40));
    places.taskbarPosition = {{ABE_LEFT, {0, 0, 60, 1080}}};
    EXPECT_TRUE(Is(GetTrayTargetRect(places), 0, 980, 60, 1064));
    places.taskbarPosition = {{ABE_RIGHT, {1860, 0, 1920, 1080}}};
    EXPECT_TRUE(Is(GetTrayTargetRect(places), 1860, 980, 1920, 1064));
}

TEST(TrayTarget, FromTheTaskbarWindowItsBottomRight150By30KeepingASmallerSideWhole) {
    ScriptedPlaces places;
    places.taskbarWindow = RECT{0, 1040, 1920, 1080};
    EXPECT_TRUE(Is(GetTrayTargetRect(places), 1770, 1050, 1920, 1080));
    places.taskbarWindow = RECT{100, 1060, 250, 1080};  // exactly 150 wide, 20 high
    EXPECT_TRUE(Is(GetTrayTargetRect(places), 100, 1060, 250, 1080));
    places.taskbarWindow = RECT{0, 0, 60, 30};
    EXPECT_TRUE(Is(GetTrayTargetRect(places), 0, 0, 60, 30));
}

TEST(TrayTarget, WithoutATaskbarTheWorkAreasBottomRightCorner) {
    ScriptedPlaces places;
    EXPECT_TRUE(Is(GetTrayTargetRect(places), 1770, 1010, 1920, 1040));
    places.workArea = {1920, 0, 3200, 1024};  // a second monitor's
    EXPECT_TRUE(Is(GetTrayTargetRect(places), 3050, 994, 3200, 1024));
}
