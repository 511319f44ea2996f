#include "fakes/FakeTaskbar.h"
#include "taskbar/modTaskbar.h"

#include <gtest/gtest.h>

namespace {

TEST(ToggleTaskbar, TheTaskbarsOwnStateDecides) {
    struct Case {
        std::uint32_t state;
        bool keepVisible;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {1, true, {"set 2", "show"}},  // auto-hide on: off, and shown
        {2, true, {"set 2", "show"}},  // always on top only: stays off
        {0, true, {"set 3"}},          // off: on, the window left visible
        {0, false, {"set 3", "hide"}}, // off, not kept visible: hidden too
    };
    for (const Case& c : cases) {
        FakeTaskbar taskbar;
        taskbar.state = c.state;
        ToggleTaskbar(taskbar, c.keepVisible);
        EXPECT_EQ(taskbar.calls, c.calls) << c.state;
    }
}

} // namespace
