// Netlink answers built byte by byte, including ones whose lengths lie.
#include "platform/linux/NetlinkMessages.h"

#include <cstring>
#include <gtest/gtest.h>
#include <linux/if.h>
#include <linux/if_arp.h>
#include <linux/rtnetlink.h>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void pad4(Bytes& b) {
    b.resize((b.size() + 3) & ~std::size_t{3}, 0);
}

template <typename T> void append(Bytes& b, const T& value) {
    const std::size_t at = b.size();
    b.resize(at + sizeof value);
    std::memcpy(b.data() + at, &value, sizeof value);
}

void attribute(Bytes& b, std::uint16_t type, const void* data, std::size_t size) {
    rtattr header{static_cast<unsigned short>(sizeof(rtattr) + size), type};
    append(b, header);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    b.insert(b.end(), bytes, bytes + size);
    pad4(b);
}

// An RTM_NEWLINK payload for an interface that is up, with a name and counters.
Bytes linkPayload(int index, const std::string& name, std::uint64_t rx) {
    Bytes b;
    ifinfomsg info{};
    info.ifi_index = index;
    info.ifi_type = ARPHRD_ETHER;
    info.ifi_flags = IFF_UP | IFF_RUNNING;
    append(b, info);
    attribute(b, IFLA_IFNAME, name.c_str(), name.size() + 1);
    const unsigned char up = IF_OPER_UP;
    attribute(b, IFLA_OPERSTATE, &up, 1);
    rtnl_link_stats64 stats{};
    stats.rx_bytes = rx;
    attribute(b, IFLA_STATS64, &stats, sizeof stats);
    return b;
}

void message(Bytes& buffer, std::uint16_t type, std::uint32_t sequence, const Bytes& payload,
             std::uint16_t flags = NLM_F_MULTI) {
    nlmsghdr header{};
    header.nlmsg_len = static_cast<std::uint32_t>(sizeof header + payload.size());
    header.nlmsg_type = type;
    header.nlmsg_flags = flags;
    header.nlmsg_seq = sequence;
    append(buffer, header);
    buffer.insert(buffer.end(), payload.begin(), payload.end());
    pad4(buffer);
}

struct Walked {
    DumpStep step;
    bool interrupted = false;
    std::vector<IfRow> rows;
};

Walked walk(const Bytes& buffer, std::uint32_t sequence = 7) {
    Walked w{};
    w.step = WalkDumpBuffer(buffer, sequence, w.interrupted,
                            [&](std::uint16_t type, std::span<const std::uint8_t> p) {
                                if (type == RTM_NEWLINK) {
                                    if (auto row = DecodeLinkMessage(p)) {
                                        w.rows.push_back(*row);
                                    }
                                }
                            });
    return w;
}

TEST(NetlinkMessages, AnInterruptedDumpIsReported) {
    Bytes buffer;
    message(buffer, RTM_NEWLINK, 7, linkPayload(2, "eth0", 1));
    message(buffer, NLMSG_DONE, 7, Bytes(4, 0), NLM_F_MULTI | NLM_F_DUMP_INTR);
    const Walked w = walk(buffer);
    EXPECT_EQ(w.step, DumpStep::Done);
    EXPECT_TRUE(w.interrupted);
}

Bytes routePayload(unsigned char prefix, unsigned char type, std::uint32_t table, int oif, int metric) {
    Bytes b;
    rtmsg route{};
    route.rtm_family = AF_INET;
    route.rtm_dst_len = prefix;
    route.rtm_table = static_cast<unsigned char>(table < 256 ? table : RT_TABLE_UNSPEC);
    route.rtm_type = type;
    append(b, route);
    const std::uint32_t wide = table;
    attribute(b, RTA_TABLE, &wide, 4);
    if (oif > 0) {
        attribute(b, RTA_OIF, &oif, 4);
    }
    if (metric >= 0) {
        attribute(b, RTA_PRIORITY, &metric, 4);
    }
    return b;
}

TEST(NetlinkMessages, OnlyDefaultRoutesOfTheMainTableCount) {
    const auto route = DecodeDefaultRoute(routePayload(0, RTN_UNICAST, RT_TABLE_MAIN, 3, 100));
    ASSERT_TRUE(route);
    EXPECT_EQ(route->index, 3);
    EXPECT_EQ(route->metric, 100u);
    EXPECT_EQ(DecodeDefaultRoute(routePayload(0, RTN_UNICAST, RT_TABLE_MAIN, 3, -1))->metric, 0u);
    EXPECT_FALSE(DecodeDefaultRoute(routePayload(24, RTN_UNICAST, RT_TABLE_MAIN, 3, 0))); // a subnet
    EXPECT_FALSE(DecodeDefaultRoute(routePayload(0, RTN_UNICAST, RT_TABLE_LOCAL, 3, 0))); // another table
    EXPECT_FALSE(DecodeDefaultRoute(routePayload(0, RTN_UNICAST, 1000, 3, 0)));           // a policy table
    EXPECT_FALSE(DecodeDefaultRoute(routePayload(0, RTN_UNREACHABLE, RT_TABLE_MAIN, 3, 0)));
    EXPECT_FALSE(DecodeDefaultRoute(routePayload(0, RTN_UNICAST, RT_TABLE_MAIN, 0, 0))); // no interface
    EXPECT_FALSE(DecodeDefaultRoute(Bytes(sizeof(rtmsg) - 1, 0)));
}

} // namespace
