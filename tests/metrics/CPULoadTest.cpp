#include "metrics/CPULoad.h"
#include "platform/PerfData.h"

#include "fakes/FakeSystemInfo.h"

#include <gtest/gtest.h>

namespace {

const SystemTime kNoon{2026, 12, 3, 6, 12, 0, 0, 0};

SystemTime plusMs(std::uint64_t ms) {
    return FileTimeToSystemTime(SystemTimeToFileTime(kNoon) + ms * 10000);
}

// Per-CPU idle counters in 100 ns units for a block stamped at `ms` after noon.
// (The walk over the block is read through the usage: a skipped instance, the
// "_Total" one counted, or a wrong time stamp changes every figure below.)
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

// A sample that cannot be read (the processor table unreadable) keeps the
// previous values and says why. (A corrupt block can only come from the
// Windows registry; fuzz_perfdata keeps the walker inside any block.)
TEST(CPULoad, AFailedSampleKeepsThePreviousValues) {
    FakeSystemInfo system;
    CPULoad load(system);
    setSample(system, 0, {0, 0});
    load.CollectCPUData();
    setSample(system, 1000, {5000000, 5000000});
    load.CollectCPUData();
    system.queryResult = 2;
    load.CollectCPUData();
    EXPECT_EQ(load.LastError().description, "Unable to read performance data");
    EXPECT_EQ(load.GetCPUUsage(1), 50);
}

} // namespace
