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

TEST(MemoryStatus, The9xFamilyReadsHighBitValuesAsUnsigned) {
    FakeSystemInfo system;
    system.version = 0xC0000A04;
    system.memory32 = MemoryStatus32{40, 0xFFFFFFFFu, 0x80000000u, 1, 2, 3, 4};
    EXPECT_FALSE(IsNtPlatform(system));
    const MemoryStatus s = GetMemoryStatus(system);
    EXPECT_EQ(s.MemoryLoad, 40);
    EXPECT_EQ(s.TotalPhys, 4294967295LL);
    EXPECT_EQ(s.AvailPhys, 2147483648LL);
    EXPECT_EQ(s.AvailVirtual, 4);
}

TEST(MemoryStatus, AMissingCallLeavesZeros) {
    FakeSystemInfo system;
    const MemoryStatus s = GetMemoryStatus(system);
    EXPECT_EQ(s.TotalPhys, 0);
    EXPECT_EQ(s.MemoryLoad, 0);
}

TEST(UnsignedToDouble, AddsTwoToThe32ForNegativePatterns) {
    EXPECT_EQ(UnsignedToDouble(-1), 4294967295.0);
    EXPECT_EQ(UnsignedToDouble(INT32_MIN), 2147483648.0);
    EXPECT_EQ(UnsignedToDouble(12), 12.0);
}

} // namespace
