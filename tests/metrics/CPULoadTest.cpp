#include "metrics/CPULoad.h"
#include "platform/PerfData.h"

#include "fakes/FakeSystemInfo.h"

#include <gtest/gtest.h>

namespace {

const SystemTime kNoon{2026, 12, 3, 6, 12, 0, 0, 0};

SystemTime plusMs(std::uint64_t ms) {
    return FileTimeToSystemTime(SystemTimeToFileTime(kNoon) + ms * 10000);
}

TEST(WalkPerfData, FindsEveryNumericInstance) {
    const auto block = BuildPerfData(kNoon, {100, 200, 300});
    const PerfWalk walk = WalkPerfData(block);
    ASSERT_EQ(walk.error, PerfWalk::Error::None);
    ASSERT_EQ(walk.instances.size(), 3u); // "_Total" skipped
    EXPECT_EQ(walk.instances[2].cpu, 2);
    EXPECT_EQ(walk.instances[2].idle, 300u);
    EXPECT_EQ(walk.time.hour, 12);
}

struct Corruption {
    const char* what;
    std::size_t offset;
    std::uint32_t value;
    PerfWalk::Error error;
};

void put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

TEST(WalkPerfData, ReportsTheStepThatFailed) {
    // Offsets: header 88, object at 88, counter definition at 152.
    const Corruption cases[] = {
        {"signature", 0, 0x00410050, PerfWalk::Error::BadSignature},
        {"object index", 88 + 12, 230, PerfWalk::Error::NoProcessorObject},
        {"no objects", 28, 0, PerfWalk::Error::NoProcessorObject},
        {"counter index", 152 + 4, 7, PerfWalk::Error::NoIdleCounter},
        {"header length", 24, 0x7FFFFFF0, PerfWalk::Error::Truncated},
        {"instances claimed", 88 + 40, 1000000, PerfWalk::Error::Truncated},
        {"counter offset", 152 + 36, 0xFFFFFFF0, PerfWalk::Error::Truncated},
    };
    for (const Corruption& c : cases) {
        auto block = BuildPerfData(kNoon, {1, 2});
        put32(block, c.offset, c.value);
        EXPECT_EQ(WalkPerfData(block).error, c.error) << c.what;
    }
    EXPECT_EQ(WalkPerfData(std::vector<std::uint8_t>(83, 0)).error, PerfWalk::Error::BadSignature);
    auto block = BuildPerfData(kNoon, {1, 2});
    block.resize(block.size() - 60); // into the last instance's definition
    EXPECT_EQ(WalkPerfData(block).error, PerfWalk::Error::Truncated);
}

// Per-CPU idle counters in 100 ns units for a block stamped at `ms` after noon.
void setSample(FakeSystemInfo& system, std::uint64_t ms, const std::vector<std::uint64_t>& idle) {
    system.block = BuildPerfData(plusMs(ms), idle);
}

TEST(CPULoad, UsageFromTwoSamples) {
    FakeSystemInfo system;
    system.cpus = 3;
    CPULoad load(system);
    setSample(system, 0, {50000000, 50000000, 50000000});
    EXPECT_EQ(load.GetAllCPUUsage(), 100); // the first sample, against zero counters
    // One second: 90 %, 80 % and 69 % idle give 10, 20 and 31 percent.
    setSample(system, 1000, {59000000, 58000000, 56900000});
    EXPECT_EQ(load.GetAllCPUUsage(), 20); // 61 / 3 truncated
    EXPECT_EQ(load.GetCPUUsage(3), 31);
    // More idle time than time passed is returned as is; halves go to even.
    setSample(system, 2000, {69100000, 66750000, 63150000});
    EXPECT_EQ(load.GetAllCPUUsage(), 16); // (-1 + 12 + 38) / 3
    EXPECT_EQ(load.GetCPUUsage(1), -1);
    EXPECT_EQ(load.GetCPUUsage(2), 12);
    // The same time stamp twice: no time passed, no usage.
    setSample(system, 2000, {69100000, 66750000, 63150000});
    EXPECT_EQ(load.GetAllCPUUsage(), 0);
    EXPECT_EQ(load.ErrorCount(), 0u);
}

TEST(CPULoad, OfflineProcessorsAreLeftOutOfTheAverage) {
    // Four configured, cpu1 and cpu3 offline, so absent from the data.
    FakeSystemInfo system;
    system.cpus = 4;
    CPULoad load(system);
    system.block = BuildPerfData(kNoon, std::vector<PerfWalk::Instance>{{0, 0}, {2, 0}});
    load.GetAllCPUUsage();
    system.block = BuildPerfData(plusMs(1000), std::vector<PerfWalk::Instance>{{0, 10000000}, {2, 8000000}});
    EXPECT_EQ(load.GetAllCPUUsage(), 10); // idle and 20 % busy, not 55 %
    EXPECT_EQ(load.GetCPUUsage(2), 0);
    // cpu2 goes offline: the average is cpu0's alone from then on.
    system.block = BuildPerfData(plusMs(2000), std::vector<PerfWalk::Instance>{{0, 15000000}});
    EXPECT_EQ(load.GetAllCPUUsage(), 50);
    // It comes back: measured again once it is in two samples running.
    system.block = BuildPerfData(plusMs(3000), std::vector<PerfWalk::Instance>{{0, 25000000}, {2, 8000000}});
    EXPECT_EQ(load.GetAllCPUUsage(), 0);
    system.block = BuildPerfData(plusMs(4000), std::vector<PerfWalk::Instance>{{0, 35000000}, {2, 13000000}});
    EXPECT_EQ(load.GetAllCPUUsage(), 25);
    EXPECT_EQ(load.ErrorCount(), 0u);
}

struct FailureCase {
    const char* what;
    std::size_t offset;
    std::uint32_t value;
    std::uint32_t number;
    const char* source;
};

TEST(CPULoad, AFailedSampleKeepsThePreviousValues) {
    const FailureCase cases[] = {
        {"signature", 0, 0, 0x80041F46, "CPULoad.CollectCPUData()"},
        {"object", 88 + 12, 1, 0x80041F44, "CPULoad.CollectData"},
        {"counter", 152 + 4, 1, 0x80041F45, "CPULoad.CollectData"},
    };
    for (const FailureCase& c : cases) {
        FakeSystemInfo system;
        CPULoad load(system);
        setSample(system, 0, {0, 0});
        load.CollectCPUData();
        setSample(system, 1000, {5000000, 5000000});
        load.CollectCPUData();
        auto block = BuildPerfData(plusMs(2000), {0, 0});
        put32(block, c.offset, c.value);
        system.block = block;
        load.CollectCPUData();
        EXPECT_EQ(load.LastError().number, c.number) << c.what;
        EXPECT_EQ(load.LastError().source, c.source) << c.what;
        EXPECT_EQ(load.GetCPUUsage(1), 50) << c.what;
    }
    FakeSystemInfo system;
    system.queryResult = 2;
    CPULoad load(system);
    load.CollectCPUData();
    EXPECT_EQ(load.LastError().description, "Unable to read performance data");
}

} // namespace
