// The processor and memory figures of this very machine.
#include "platform/linux/LinuxSystemInfo.h"

#include "metrics/CPULoad.h"
#include "metrics/MemoryStatus.h"
#include "platform/PerfData.h"

#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

namespace {

TEST(LinuxSystemInfo, CpuLoadMeasuresABusyLoop) {
    LinuxSystemInfo system;
    CPULoad load(system);
    ASSERT_TRUE(load.IsNt());
    EXPECT_GE(load.GetAllCPUUsage(), 90); // first sample against zero
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const int idle = load.GetAllCPUUsage();
    // Keep every processor busy for a while.
    const int n = load.GetCPUCount();
    std::vector<std::thread> spinners;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(600);
    for (int i = 0; i < n; ++i) {
        spinners.emplace_back([until] {
            volatile unsigned x = 0;
            while (std::chrono::steady_clock::now() < until) {
                x = x + 1;
            }
        });
    }
    for (auto& t : spinners) {
        t.join();
    }
    const int busy = load.GetAllCPUUsage();
    EXPECT_GE(busy, 60);
    EXPECT_LE(busy, 105);
    EXPECT_GE(idle, -5);
    EXPECT_EQ(load.ErrorCount(), 0u);
    EXPECT_EQ(n, static_cast<int>(::sysconf(_SC_NPROCESSORS_CONF)));
}

TEST(LinuxSystemInfo, PerformanceDataFollowsTheMonotonicClock) {
    // The idle counters stop in a suspend and ignore clock steps; so must the
    // time they are divided by, or the first sample after either reads ~100 %.
    LinuxSystemInfo system;
    std::vector<std::uint8_t> buffer(65536);
    std::uint32_t size = 65536;
    const std::int64_t before = LinuxSystemInfo::MonotonicMs();
    ASSERT_EQ(system.queryPerformanceData(buffer, size), 0);
    const std::int64_t after = LinuxSystemInfo::MonotonicMs();
    const PerfWalk walk = WalkPerfData(std::span<const std::uint8_t>(buffer.data(), size));
    ASSERT_EQ(walk.error, PerfWalk::Error::None);
    const auto stamp =
        static_cast<std::int64_t>((SystemTimeToFileTime(walk.time) - kUnixEpochFileTime) / 10000);
    EXPECT_GE(stamp, before);
    EXPECT_LE(stamp, after);
    // Every online processor, each once.
    EXPECT_EQ(static_cast<long>(walk.instances.size()), ::sysconf(_SC_NPROCESSORS_ONLN));
}

} // namespace
