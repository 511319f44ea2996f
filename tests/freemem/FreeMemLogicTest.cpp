// The Free Memory tool's rules and its free loop.
#include "freemem/FreeMemLogic.h"
#include "fakes/FakeMemoryClaim.h"
#include "freemem/FreeOperation.h"

#include <gtest/gtest.h>

namespace {

constexpr std::int64_t kGiB = 1024 * kMiB;

TEST(FreeMemTexts, ThreeGiBFreeOfFour) {
    const MemoryStatus s{25, 4 * kGiB, 3 * kGiB, 8 * kGiB, 2 * kGiB, 128 * kGiB, 96 * kGiB};
    EXPECT_EQ(FreeMemStatusLine(s), "Free: 3072.0 MB - Usage: 25.0% of 4096.0 MB");
    EXPECT_EQ(FreeMemStatusTip(s), "Free: 3,145,728.0 KB");
    const std::string title = FreeMemTitle(s, 0, 1);
    EXPECT_EQ(title, "3072.0MB Free Memory v0.1");
    EXPECT_EQ(FreeMemTrayTip(title, s), "3072.0MB Free Memory v0.1\nUsage: 25.0%");
    EXPECT_EQ(MeterToolTip(s), "Usage: 25% RAM  - 25% Virtual Memory  - 75% Page File");
    EXPECT_EQ(FreeMemStatusLine(s, {",", "."}), "Free: 3072,0 MB - Usage: 25,0% of 4096,0 MB");
    EXPECT_EQ(FreeButtonCaption(500), "Free 500 MB");
}

TEST(FreeMemTexts, MeterRowsAndSliderMaximum) {
    EXPECT_EQ(MeterY(0, 100, 30), 0);    // full memory at the top
    EXPECT_EQ(MeterY(100, 100, 30), 30); // all free at the bottom
    EXPECT_EQ(MeterY(1, 6, 27), 5);      // 4.5 rounds up
    EXPECT_EQ(MeterY(5, 0, 30), 0);
    EXPECT_EQ(FreeSliderMaximum({0, 16 * kGiB, 4 * kGiB, 0, 0, 0, 0}), std::optional<std::int16_t>(14336));
    EXPECT_EQ(FreeSliderMaximum({0, 64 * kGiB, 0, 0, 0, 0, 0}), std::nullopt); // 65536 does not fit
    EXPECT_EQ(FreeSliderMaximum({}), std::nullopt);
}

TEST(FreeMemSettings, TrayModeAndSetupValues) {
    struct Case {
        std::vector<std::string> arguments;
        const char* stored;
        bool tray;
    };
    const Case cases[] = {
        {{"/tray"}, "", true},    {{"x", "/TRAY"}, "0", true},
        {{"--a/Tray"}, "", true}, {{}, "1", true},
        {{}, "0", false},         {{}, "2", false},
        {{}, "yes", false},       {{"/tra"}, "", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TrayModeRequested(c.arguments, c.stored), c.tray) << c.stored;
    }
    EXPECT_EQ(SetupSliderValue("30", 50, 100, 95), 95); // out of range: the design value
    EXPECT_EQ(SetupSliderValue("50", 50, 100, 95), 50);
    EXPECT_EQ(SetupSliderValue("1024", 1, 1024, 10), 1024);
    EXPECT_EQ(SetupSliderValue("1025", 1, 1024, 10), 10);
    EXPECT_EQ(SetupSliderValue("abc", 1, 1024, 10), 10);
}

TEST(FreeMemClaim, TheFloorKeepsTheMachineAlive) {
    EXPECT_EQ(ClaimFloor(4 * kGiB), 256 * kMiB);             // 5 % is 204.8 MiB
    EXPECT_EQ(ClaimFloor(16 * kGiB), 16 * kGiB / 20);        // 819.2 MiB
    EXPECT_TRUE(MayClaim(258 * kMiB, 2 * kMiB, 256 * kMiB)); // exactly the floor left
    EXPECT_FALSE(MayClaim(257 * kMiB, 2 * kMiB, 256 * kMiB));
}

TEST(AutoFree, AtThePeakOnceUntilUseDropsOrTheHoldOffEnds) {
    const MemoryStatus atPeak{95, 100 * kMiB, 5 * kMiB, 0, 0, 0, 0}; // 95 % in use: equality triggers
    const MemoryStatus below{94, 100 * kMiB, 6 * kMiB, 0, 0, 0, 0};
    AutoFreeTrigger t;
    EXPECT_FALSE(t.ShouldRun(false, false, 95, atPeak, 0)); // unchecked
    EXPECT_FALSE(t.ShouldRun(true, true, 95, atPeak, 0));   // window shown
    EXPECT_FALSE(t.ShouldRun(true, false, 95, below, 0));
    EXPECT_TRUE(t.ShouldRun(true, false, 95, atPeak, 0));
    t.Ran(true, 1000); // still at the peak afterwards
    EXPECT_FALSE(t.ShouldRun(true, false, 95, atPeak, 4000));
    EXPECT_FALSE(t.ShouldRun(true, false, 95, below, 7000)); // dropped below once: released
    EXPECT_TRUE(t.ShouldRun(true, false, 95, atPeak, 10000));
    t.Ran(true, 10000);
    EXPECT_FALSE(t.ShouldRun(true, false, 95, atPeak, 10000 + AutoFreeTrigger::kAutoFreeHoldOffMs - 1));
    EXPECT_TRUE(t.ShouldRun(true, false, 95, atPeak, 10000 + AutoFreeTrigger::kAutoFreeHoldOffMs));
    t.Ran(false, 20000); // a free that brought use down holds nothing back
    EXPECT_TRUE(t.ShouldRun(true, false, 95, atPeak, 20001));
}

TEST(RunFree, ClaimsUpToTheBlocksAndTheFloorThenReturnsEverything) {
    struct Case {
        const char* what;
        std::int32_t count;
        std::int64_t available;
        std::int32_t stopAt; // 0: never
        bool refuse;
        std::int32_t steps;
        int claims;
        std::int64_t peak;
        bool floorReached;
    };
    const std::int64_t huge = std::int64_t{1} << 40;
    const Case cases[] = {
        {"500 MB", 500, huge, 0, false, 500, 500, 1000 * kMiB, false},
        {"past 4096 blocks", 5000, huge, 0, false, 5000, 4096, 8192 * kMiB, false},
        // 300 MiB available, a 4 GiB machine's floor of 256 MiB: 22 blocks, 256 MiB left.
        {"down to the floor", 1000, 300 * kMiB, 0, false, 1000, 22, 44 * kMiB, true},
        {"stopped at step 3", 500, huge, 3, false, 3, 2, 4 * kMiB, false},
        {"every block refused", 10, huge, 0, true, 10, 10, 0, false},
    };
    for (const Case& c : cases) {
        FakeMemoryClaim memory;
        memory.available = c.available;
        memory.refuse = c.refuse;
        std::vector<std::int32_t> shown;
        const FreeResult r = RunFree(memory, c.count, 4 * kGiB, [&](std::int32_t i) {
            shown.push_back(i);
            return i != c.stopAt;
        });
        EXPECT_EQ(r.steps, c.steps) << c.what;
        EXPECT_EQ(memory.claims, c.claims) << c.what;
        EXPECT_EQ(r.claimedPeak, c.peak) << c.what;
        EXPECT_EQ(r.floorReached, c.floorReached) << c.what;
        EXPECT_EQ(r.stopped, c.stopAt != 0) << c.what;
        EXPECT_EQ(shown.size(), static_cast<std::size_t>(c.steps)) << c.what;
        EXPECT_EQ(memory.releasedAt, std::vector<std::int64_t>{c.peak}) << c.what; // one sweep at the end
        EXPECT_EQ(memory.held, 0) << c.what;
        EXPECT_EQ(memory.offers, (std::vector<bool>{true, false})) << c.what;
    }
}

} // namespace
