// The Linux interface table read for real, in a network namespace of the
// test's own: veth pairs carry frames the test sends. Needs root (CAP_NET_ADMIN); skipped otherwise.
#include "platform/linux/LinuxNetworkTable.h"

#include <arpa/inet.h>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <linux/if_packet.h>
#include <net/ethernet.h>
#include <net/if.h>
#include <sched.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

bool g_ready = false;

int run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str());
}

void writeSysctl(const char* path, const char* value) {
    std::ofstream file(path);
    file << value;
}

class NetnsEnvironment : public testing::Environment {
public:
    void SetUp() override {
        if (::geteuid() != 0 || ::unshare(CLONE_NEWNET) != 0) {
            return;
        }
        // No IPv6 chatter: the only frames on the veth pair are the test's.
        writeSysctl("/proc/sys/net/ipv6/conf/all/disable_ipv6", "1");
        writeSysctl("/proc/sys/net/ipv6/conf/default/disable_ipv6", "1");
        g_ready = run("ip link add v0 type veth peer name v1") == 0 && run("ip link set v0 up") == 0 &&
                  run("ip link set v1 up") == 0;
    }
};

const testing::Environment* const g_env = testing::AddGlobalTestEnvironment(new NetnsEnvironment);

#define REQUIRE_NETNS()                                                                                      \
    if (!g_ready) {                                                                                          \
        GTEST_SKIP() << "needs root to make a network namespace";                                            \
    }

// Sends count raw frames of frameBytes out of the interface.
void sendFrames(const char* interface, int count, std::size_t frameBytes) {
    const int fd = ::socket(AF_PACKET, SOCK_RAW, 0);
    ASSERT_GE(fd, 0);
    sockaddr_ll address{};
    address.sll_family = AF_PACKET;
    address.sll_ifindex = static_cast<int>(::if_nametoindex(interface));
    address.sll_halen = ETH_ALEN;
    std::vector<unsigned char> frame(frameBytes, 0xAB);
    std::memset(frame.data(), 0xFF, 6); // broadcast
    frame[12] = 0x88;                   // local experimental ethertype
    frame[13] = 0xB5;
    for (int i = 0; i < count; ++i) {
        ASSERT_EQ(::sendto(fd, frame.data(), frame.size(), 0, reinterpret_cast<sockaddr*>(&address),
                           sizeof address),
                  static_cast<ssize_t>(frame.size()));
    }
    ::close(fd);
}

const IfRow* find(const std::vector<IfRow>& rows, const std::string& name) {
    for (const IfRow& row : rows) {
        if (row.name == name) {
            return &row;
        }
    }
    return nullptr;
}

TEST(LinuxNetworkTable, FindsTheDefaultRoutesInterface) {
    REQUIRE_NETNS();
    LinuxNetworkTable table;
    EXPECT_EQ(table.defaultRouteIndex(), std::nullopt);
    ASSERT_EQ(run("ip addr add 10.9.0.1/24 dev v1 && ip route add default via 10.9.0.2 dev v1 metric 50"), 0);
    ASSERT_EQ(run("ip addr add 10.8.0.1/24 dev v0 && ip route add default via 10.8.0.2 dev v0 metric 10"), 0);
    EXPECT_EQ(table.defaultRouteIndex(),
              static_cast<std::int32_t>(::if_nametoindex("v0"))); // the lowest metric
    ASSERT_EQ(run("ip route del default via 10.8.0.2 dev v0"), 0);
    EXPECT_EQ(table.defaultRouteIndex(), static_cast<std::int32_t>(::if_nametoindex("v1")));
    run("ip route flush default; ip addr flush dev v0; ip addr flush dev v1");
    EXPECT_EQ(table.defaultRouteIndex(), std::nullopt);
}

TEST(LinuxNetworkTable, ReadsTheVethPairWhole) {
    REQUIRE_NETNS();
    LinuxNetworkTable table;
    const auto rows = table.readTable();
    ASSERT_TRUE(rows);
    const IfRow* v0 = find(*rows, "v0");
    ASSERT_NE(v0, nullptr);
    EXPECT_EQ(v0->index, static_cast<std::int32_t>(::if_nametoindex("v0")));
    EXPECT_EQ(v0->type, 6);
    EXPECT_EQ(v0->mtu, 1500);
    EXPECT_EQ(v0->address.size(), 6u);
    EXPECT_EQ(v0->adminStatus, 1);
    EXPECT_EQ(v0->operStatus, 5);
    EXPECT_EQ(v0->speed, 10000000000LL); // veth says 10 Gbit/s: wider than 32 bits
    EXPECT_EQ(v0->description, "veth (v0)");
    const IfRow* lo = find(*rows, "lo");
    ASSERT_NE(lo, nullptr);
    EXPECT_EQ(lo->type, 24);
    EXPECT_EQ(lo->operStatus, 2); // down in a new namespace
    for (std::size_t i = 1; i < rows->size(); ++i) {
        EXPECT_LT((*rows)[i - 1].index, (*rows)[i].index);
    }
}

TEST(LinuxNetworkTable, CountersMoveByTheBytesSent) {
    REQUIRE_NETNS();
    LinuxNetworkTable table;
    const auto before = table.readTable();
    ASSERT_TRUE(before);
    sendFrames("v0", 25, 1000);
    const auto after = table.readTable();
    ASSERT_TRUE(after);
    EXPECT_EQ(find(*after, "v0")->octetsOut - find(*before, "v0")->octetsOut, 25000u);
    EXPECT_EQ(find(*after, "v1")->octetsIn - find(*before, "v1")->octetsIn, 25000u);
    EXPECT_EQ(find(*after, "v0")->octetsIn, find(*before, "v0")->octetsIn);
}

// (A pair deleted, or deleted and another added, between two samples:
// TrafficSampler.AChangedInterfaceCountRebuildsTheListAndReselects and
// TrafficSampler.AnInterfaceSwappedWithinASecondRebuildsTheList. A thousand
// interfaces, dumped in many parts: bench/bench_netlink.)

} // namespace
