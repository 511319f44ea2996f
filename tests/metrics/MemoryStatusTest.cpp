#include "metrics/MemoryStatus.h"

#include "fakes/FakeSystemInfo.h"

#include <gtest/gtest.h>

namespace {

TEST(MemoryStatus, NtFamilyCarriesFull64BitAmounts) {
    FakeSystemInfo system;
    system.memoryEx = MemoryStatusEx{63,
                                     17179869184ULL,
                                     6357000000ULL,
                                     19327352832ULL,
                                     8000000000ULL,
                                     140737488355328ULL,
                                     140737000000000ULL};
    const MemoryStatus s = GetMemoryStatus(system);
    EXPECT_EQ(s.MemoryLoad, 63);
    EXPECT_EQ(s.TotalPhys, 17179869184LL);
    EXPECT_EQ(s.AvailPhys, 6357000000LL);
    EXPECT_EQ(s.TotalPageFile, 19327352832LL);
    EXPECT_EQ(s.TotalVirtual, 140737488355328LL);
    EXPECT_EQ(s.AvailVirtual, 140737000000000LL);
}

TEST(MemoryStatus, AMissingCallLeavesZeros) {
    FakeSystemInfo system;
    const MemoryStatus s = GetMemoryStatus(system);
    EXPECT_EQ(s.TotalPhys, 0);
    EXPECT_EQ(s.MemoryLoad, 0);
}

} // namespace
