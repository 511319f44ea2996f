// Netlink route answers built byte by byte.
#include "platform/linux/NetlinkMessages.h"

#include <cstring>
#include <gtest/gtest.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>
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

// (The dump walker and the link decoder: fuzz_netlink keeps them inside any
// buffer; a dump read for real: LinuxNetworkTable.*.)

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
