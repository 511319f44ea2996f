#include "core/SecondTick.h"

#include <gtest/gtest.h>

namespace {

TEST(SecondTick, TheTimerWakesJustAfterEachSecondTurns) {
    struct Case {
        std::int64_t nowMs;
        int wait;
    };
    const Case cases[] = {
        {1000000000, 20}, {1000000019, 1}, {1000000020, 1000}, {1000000021, 999}, {1000000999, 21},   {0, 20},
        {-1, 21},         {-980, 1000},    {-1000, 20},        {1000000500, 520}, {1000001020, 1000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MsToNextTick(c.nowMs), c.wait) << c.nowMs;
    }
}

} // namespace
