#include "platform/linux/ProcParsers.h"
#include "platform/linux/CgroupMemory.h"

#include <gtest/gtest.h>

namespace {

TEST(ParseProcStatIdle, IdlePlusIowaitPerProcessor) {
    const char* text = "cpu  10 0 10 900 100 0 0 0 0 0\n"
                       "cpu0 5 0 5 450 50 0 0 0 0 0\n"
                       "cpu2 5 0 5 400 7 0 0 0 0 0\n"
                       "intr 12345\n";
    const auto idle = ParseProcStatIdle(text);
    ASSERT_TRUE(idle);
    EXPECT_EQ(*idle, (std::vector<CpuIdleTicks>{{0, 500}, {2, 407}})); // cpu1 offline: absent
}

TEST(ParseProcStatIdle, RejectsTextWithoutProcessorLines) {
    EXPECT_FALSE(ParseProcStatIdle(""));
    EXPECT_FALSE(ParseProcStatIdle("cpu  1 2 3 4\n"));
    EXPECT_FALSE(ParseProcStatIdle("cpu0 1 2\n"));            // too few fields
    EXPECT_FALSE(ParseProcStatIdle("cpu99999999 1 2 3 4\n")); // absurd index
    EXPECT_EQ(ParseProcStatIdle("cpu0 1 2 3 4"),
              (std::vector<CpuIdleTicks>{{0, 4}})); // no iowait, no newline
}

TEST(ParseMemInfo, ReadsKilobytesAsBytes) {
    const char* text = "MemTotal:       16384 kB\nMemFree: 1 kB\nMemAvailable:    8192 kB\n"
                       "SwapTotal:  2048 kB\nSwapFree: 1024 kB\n";
    const auto info = ParseMemInfo(text);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->memTotal, 16384u * 1024);
    EXPECT_EQ(info->memAvailable, 8192u * 1024);
    EXPECT_EQ(info->swapTotal, 2048u * 1024);
    EXPECT_EQ(info->swapFree, 1024u * 1024);
    EXPECT_FALSE(ParseMemInfo("MemTotal: 5 kB\n"));
    EXPECT_FALSE(ParseMemInfo("MemTotal: 99999999999999999999 kB\nMemAvailable: 1 kB\n"));
}

TEST(ParseStatmSize, FirstField) {
    EXPECT_EQ(ParseStatmSize("12345 678 9 0 0 1 0\n"), 12345u);
    EXPECT_EQ(ParseStatmSize("x"), std::nullopt);
}

TEST(CgroupMemory, FoldersUpToTheRootAndTheRoomLeft) {
    using F = std::vector<CgroupFolder>;
    EXPECT_EQ(CgroupMemoryFolders("0::/user.slice/app.scope\n", "/cg"),
              (F{{"/cg/user.slice/app.scope", true}, {"/cg/user.slice", true}, {"/cg", true}}));
    // The v1 memory controller wins over the unified line of a hybrid system.
    EXPECT_EQ(CgroupMemoryFolders("4:cpu,memory:/a/b\n0::/x\n", "/cg"),
              (F{{"/cg/memory/a/b", false}, {"/cg/memory/a", false}, {"/cg/memory", false}}));
    EXPECT_EQ(CgroupMemoryFolders("0::/\n", "/cg"), (F{{"/cg", true}}));
    for (const char* refused : {"", "0::/../etc\n", "0::relative\n", "junk\n"}) {
        EXPECT_TRUE(CgroupMemoryFolders(refused, "/cg").empty()) << refused;
    }
    EXPECT_EQ(CgroupRoom("314572800\n", "104857600\n"), 209715200);
    EXPECT_EQ(CgroupRoom("max\n", "1"), std::nullopt);
    EXPECT_EQ(CgroupRoom("9223372036854771712", "1"), std::nullopt); // v1's "no limit"
    EXPECT_EQ(CgroupRoom("100", "x"), std::nullopt);
}

} // namespace

// /proc/net/unix as the kernel writes it: a heading, listening and connected
// sockets, nameless ones, abstract names.
TEST(ListeningSocketInodes, OnlyListeningSocketsAtTheGivenPaths) {
    const char* table =
        "Num       RefCount Protocol Flags    Type St Inode Path\n"
        "0000000000000000: 00000002 00000000 00010000 0001 01 23456 /run/user/1000/bus\n"
        "0000000000000000: 00000003 00000000 00000000 0001 03 23457 /run/user/1000/bus\n"
        "0000000000000000: 00000002 00000000 00010000 0001 01 30001 @/tmp/.X11-unix/X0\n"
        "0000000000000000: 00000002 00000000 00010000 0001 01 30002 /tmp/other socket\n"
        "0000000000000000: 00000003 00000000 00000000 0001 03 30003\n"
        "0000000000000000: 00000002 00000000 00010000 0001 01 30004 /run/user/1000/pulse/native";
    EXPECT_EQ(ListeningSocketInodes(table, {"/run/user/1000/bus", "@/tmp/.X11-unix/X0", "/tmp/other socket"}),
              (std::set<std::uint64_t>{23456, 30001, 30002}));
    EXPECT_EQ(ListeningSocketInodes(table, {}), std::set<std::uint64_t>{});
    EXPECT_EQ(ListeningSocketInodes("junk\n\n00: zz", {"junk"}), std::set<std::uint64_t>{});
}
