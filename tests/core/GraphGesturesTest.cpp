// What presses and double clicks on the graph ask for, region by region.
#include "core/GraphGestures.h"

#include <gtest/gtest.h>

namespace {

struct PressCase {
    const char* what;
    std::int32_t mode;
    bool bandwidth;
    int x, y;
    Keys keys;
    std::optional<Gesture> gesture;
    bool suppress, drag;
};

TEST(GraphGestures, PressesByRegion) {
    const Keys none;
    const Keys shift{true, false, false};
    const Keys ctrl{false, true, false};
    const Keys ctrlShift{true, true, false};
    const PressCase cases[] = {
        {"corner with Shift ejects", 2, true, 20, 10, shift, Gesture::EjectAll, false, false},
        {"corner without Shift: nothing, no drag", 2, true, 5, 5, none, std::nullopt, false, false},
        {"meters: task manager", 2, true, 120, 15, none, Gesture::TaskManager, true, false},
        {"meters with Ctrl: mute", 2, true, 130, 15, ctrl, Gesture::ToggleMute, true, false},
        {"meters with Ctrl and Shift: task manager", 2, true, 130, 15, ctrlShift, Gesture::TaskManager, true,
         false},
        {"readouts: free memory", 2, true, 100, 15, none, Gesture::FreeMemory, true, false},
        {"readouts with Ctrl: mute", 2, true, 119, 15, ctrl, Gesture::ToggleMute, true, false},
        {"no readouts without Show Bandwidth", 2, false, 119, 15, none, std::nullopt, false, true},
        {"Ctrl on the graph: taskbar, then a drag", 2, true, 50, 15, ctrl, Gesture::TaskbarAutoHide, false,
         true},
        {"Ctrl without Show Bandwidth: a drag", 2, false, 50, 15, ctrl, std::nullopt, false, true},
        {"the graph: a drag", 2, true, 50, 15, none, std::nullopt, false, true},
        {"Normal: every place drags", 0, true, 5, 5, shift, std::nullopt, false, true},
        {"Small: the meters' place drags", 1, true, 130, 15, none, std::nullopt, false, true},
    };
    for (const PressCase& c : cases) {
        const PressPlan plan = PlanGraphPress(GraphPress{c.mode, c.bandwidth, c.x, c.y, c.keys});
        EXPECT_EQ(plan.gesture, c.gesture) << c.what;
        EXPECT_EQ(plan.suppressMenu, c.suppress) << c.what;
        EXPECT_EQ(plan.drag, c.drag) << c.what;
    }
}

TEST(GraphGestures, DoubleClicksFirstMatchWins) {
    EXPECT_EQ(PlanGraphDoubleClick({}), Gesture::NextDisplayMode);
    EXPECT_EQ(PlanGraphDoubleClick({true, true, true}), Gesture::TaskManager);
    EXPECT_EQ(PlanGraphDoubleClick({true, false, true}), Gesture::FreeMemory);
    EXPECT_EQ(PlanGraphDoubleClick({false, false, true}), Gesture::FileManager);
}

} // namespace
