#include "NetlinkMessages.h"

#include <algorithm>
#include <cstring>
#include <linux/if.h>
#include <linux/if_arp.h>
#include <linux/if_link.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>

namespace {

constexpr std::size_t align4(std::size_t n) {
    return (n + 3) & ~std::size_t{3};
}

// Interface types as the IANA ifType numbers the rest of the program knows.
std::int32_t ifType(unsigned short arphrd) {
    switch (arphrd) {
    case ARPHRD_ETHER:
        return 6;
    case ARPHRD_LOOPBACK:
        return 24;
    case ARPHRD_PPP:
        return 23;
    case ARPHRD_IEEE80211:
    case ARPHRD_IEEE80211_RADIOTAP:
        return 71;
    case ARPHRD_NONE:
    case ARPHRD_TUNNEL:
    case ARPHRD_TUNNEL6:
    case ARPHRD_SIT:
    case ARPHRD_IPGRE:
        return 131;
    default:
        return 1;
    }
}

// The kernel's operstate as the status codes of the table (5 operational,
// 3 connecting, 2 disconnected, 1 unreachable, 0 non-operational).
std::int32_t operStatus(unsigned char operstate, unsigned flags) {
    switch (operstate) {
    case IF_OPER_UP:
        return 5;
    case IF_OPER_DORMANT:
        return 3;
    case IF_OPER_DOWN:
    case IF_OPER_LOWERLAYERDOWN:
        return 2;
    case IF_OPER_NOTPRESENT:
        return 0;
    case IF_OPER_TESTING:
        return 1;
    default: // unknown: loopback and tun report it while they carry traffic
        return (flags & IFF_RUNNING) ? 5 : 2;
    }
}

} // namespace

void ApplyStats(IfRow& row, const rtnl_link_stats64& s) {
    row.octetsIn = s.rx_bytes;
    row.octetsOut = s.tx_bytes;
    const auto narrow = [](std::uint64_t v) { return static_cast<std::uint32_t>(v); };
    row.unicastIn = narrow(s.rx_packets - std::min(s.multicast, s.rx_packets));
    row.nonUnicastIn = narrow(s.multicast);
    row.discardsIn = narrow(s.rx_dropped);
    row.errorsIn = narrow(s.rx_errors);
    row.unknownProtosIn = narrow(s.rx_nohandler);
    row.unicastOut = narrow(s.tx_packets);
    row.discardsOut = narrow(s.tx_dropped);
    row.errorsOut = narrow(s.tx_errors);
}

namespace {

// Calls handler(type, payload) for each attribute that lies whole in bytes.
template <typename Handler> void forEachAttribute(std::span<const std::uint8_t> bytes, Handler&& handler) {
    std::size_t at = 0;
    while (bytes.size() - at >= sizeof(rtattr)) {
        rtattr attribute{};
        std::memcpy(&attribute, bytes.data() + at, sizeof attribute);
        if (attribute.rta_len < sizeof(rtattr) || attribute.rta_len > bytes.size() - at) {
            return;
        }
        handler(attribute.rta_type,
                bytes.subspan(at + align4(sizeof(rtattr)), attribute.rta_len - align4(sizeof(rtattr))));
        at += std::min<std::size_t>(align4(attribute.rta_len), bytes.size() - at);
    }
}

} // namespace

DumpStep WalkDumpBuffer(std::span<const std::uint8_t> buffer, std::uint32_t sequence, bool& interrupted,
                        const std::function<void(std::uint16_t, std::span<const std::uint8_t>)>& handler) {
    std::size_t at = 0;
    while (buffer.size() - at >= sizeof(nlmsghdr)) {
        nlmsghdr header{};
        std::memcpy(&header, buffer.data() + at, sizeof header);
        if (header.nlmsg_len < sizeof(nlmsghdr) || header.nlmsg_len > buffer.size() - at) {
            return DumpStep::Failed; // a message that does not fit: the buffer can't be trusted
        }
        const std::size_t next = at + std::min<std::size_t>(align4(header.nlmsg_len), buffer.size() - at);
        if (header.nlmsg_seq == sequence) {
            if (header.nlmsg_flags & NLM_F_DUMP_INTR) {
                interrupted = true;
            }
            if (header.nlmsg_type == NLMSG_DONE) {
                return DumpStep::Done;
            }
            if (header.nlmsg_type == NLMSG_ERROR) {
                return DumpStep::Failed;
            }
            const std::size_t headerSize = align4(sizeof(nlmsghdr));
            handler(header.nlmsg_type,
                    buffer.subspan(at + headerSize,
                                   header.nlmsg_len - std::min<std::size_t>(headerSize, header.nlmsg_len)));
        }
        at = next;
    }
    return DumpStep::More;
}

std::optional<IfRow> DecodeLinkMessage(std::span<const std::uint8_t> payload) {
    if (payload.size() < sizeof(ifinfomsg)) {
        return std::nullopt;
    }
    ifinfomsg info{};
    std::memcpy(&info, payload.data(), sizeof info);
    IfRow row;
    row.index = info.ifi_index;
    row.type = ifType(info.ifi_type);
    row.adminStatus = (info.ifi_flags & IFF_UP) ? 1 : 2;
    unsigned char operstate = IF_OPER_UNKNOWN;
    forEachAttribute(payload.subspan(std::min(align4(sizeof(ifinfomsg)), payload.size())),
                     [&](std::uint16_t type, std::span<const std::uint8_t> data) {
                         switch (type) {
                         case IFLA_IFNAME: {
                             const auto* text = reinterpret_cast<const char*>(data.data());
                             row.name.assign(text, strnlen(text, data.size()));
                             break;
                         }
                         case IFLA_MTU:
                             if (data.size() >= 4) {
                                 std::memcpy(&row.mtu, data.data(), 4);
                             }
                             break;
                         case IFLA_TXQLEN:
                             if (data.size() >= 4) {
                                 std::memcpy(&row.outQueueLength, data.data(), 4);
                             }
                             break;
                         case IFLA_OPERSTATE:
                             if (!data.empty()) {
                                 operstate = data[0];
                             }
                             break;
                         case IFLA_ADDRESS:
                             row.address.assign(data.begin(),
                                                data.begin() + std::min<std::size_t>(data.size(), 8));
                             break;
                         case IFLA_STATS64:
                             if (data.size() >= sizeof(rtnl_link_stats64)) {
                                 rtnl_link_stats64 stats{};
                                 std::memcpy(&stats, data.data(), sizeof stats);
                                 ApplyStats(row, stats);
                             }
                             break;
                         default:
                             break;
                         }
                     });
    row.operStatus = operStatus(operstate, info.ifi_flags);
    return row;
}

std::optional<LinkStats> DecodeStatsMessage(std::span<const std::uint8_t> payload) {
    if (payload.size() < sizeof(if_stats_msg)) {
        return std::nullopt;
    }
    if_stats_msg info{};
    std::memcpy(&info, payload.data(), sizeof info);
    std::optional<LinkStats> stats;
    forEachAttribute(payload.subspan(std::min(align4(sizeof(if_stats_msg)), payload.size())),
                     [&](std::uint16_t type, std::span<const std::uint8_t> data) {
                         if (type == IFLA_STATS_LINK_64 && data.size() >= sizeof(rtnl_link_stats64)) {
                             stats.emplace();
                             stats->index = static_cast<std::int32_t>(info.ifindex);
                             std::memcpy(&stats->counters, data.data(), sizeof stats->counters);
                         }
                     });
    return stats;
}

std::optional<DefaultRoute> DecodeDefaultRoute(std::span<const std::uint8_t> payload) {
    if (payload.size() < sizeof(rtmsg)) {
        return std::nullopt;
    }
    rtmsg route{};
    std::memcpy(&route, payload.data(), sizeof route);
    if (route.rtm_dst_len != 0 || route.rtm_type != RTN_UNICAST) {
        return std::nullopt;
    }
    std::uint32_t table = route.rtm_table;
    std::optional<std::int32_t> index;
    std::uint32_t metric = 0;
    forEachAttribute(payload.subspan(std::min(align4(sizeof(rtmsg)), payload.size())),
                     [&](std::uint16_t type, std::span<const std::uint8_t> data) {
                         std::uint32_t value = 0;
                         if (data.size() < sizeof value) {
                             return;
                         }
                         std::memcpy(&value, data.data(), sizeof value);
                         if (type == RTA_OIF) {
                             index = static_cast<std::int32_t>(value);
                         } else if (type == RTA_PRIORITY) {
                             metric = value;
                         } else if (type == RTA_TABLE) {
                             table = value;
                         }
                     });
    if (!index || table != RT_TABLE_MAIN) {
        return std::nullopt;
    }
    return DefaultRoute{*index, metric};
}
