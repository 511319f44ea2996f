#include "LinuxNetworkTable.h"

#include "FileReader.h"
#include "HardwareModels.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <linux/ethtool.h>
#include <linux/if.h>
#include <linux/if_arp.h>
#include <linux/if_link.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <linux/sockios.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

namespace {

constexpr std::size_t kReceiveBuffer = std::size_t{64} * 1024;

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

void applyStats(IfRow& row, const rtnl_link_stats64& s) {
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

} // namespace

LinuxNetworkTable::LinuxNetworkTable() : m_buffer(kReceiveBuffer) {
    m_request.reset(::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE));
    m_events.reset(::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC | SOCK_NONBLOCK, NETLINK_ROUTE));
    if (m_events.valid()) {
        sockaddr_nl address{};
        address.nl_family = AF_NETLINK;
        address.nl_groups = RTMGRP_LINK;
        if (::bind(m_events.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            m_events.reset();
        }
    }
    m_ioctl.reset(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
}

LinuxNetworkTable::~LinuxNetworkTable() = default;

bool LinuxNetworkTable::sendDump(int type, const void* payload, std::size_t length) {
    struct {
        nlmsghdr header;
        char payload[64];
    } request{};
    request.header.nlmsg_len = static_cast<std::uint32_t>(NLMSG_LENGTH(length));
    request.header.nlmsg_type = static_cast<std::uint16_t>(type);
    request.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    request.header.nlmsg_seq = ++m_sequence;
    std::memcpy(request.payload, payload, length);
    sockaddr_nl kernel{};
    kernel.nl_family = AF_NETLINK;
    const ssize_t sent = ::sendto(m_request.get(), &request, request.header.nlmsg_len, 0,
                                  reinterpret_cast<sockaddr*>(&kernel), sizeof kernel);
    return sent == static_cast<ssize_t>(request.header.nlmsg_len);
}

template <typename Handler> bool LinuxNetworkTable::receiveDump(Handler&& handler) {
    for (;;) {
        const ssize_t received = ::recv(m_request.get(), m_buffer.data(), m_buffer.size(), 0);
        if (received < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        auto remaining = static_cast<unsigned>(received);
        for (auto* message = reinterpret_cast<nlmsghdr*>(m_buffer.data()); NLMSG_OK(message, remaining);
             message = NLMSG_NEXT(message, remaining)) {
            if (message->nlmsg_seq != m_sequence) {
                continue;
            }
            if (message->nlmsg_type == NLMSG_DONE) {
                return true;
            }
            if (message->nlmsg_type == NLMSG_ERROR) {
                return false;
            }
            handler(message);
        }
    }
}

bool LinuxNetworkTable::drainLinkEvents() {
    if (!m_events.valid()) {
        return true; // no notifications: treat every read as a change
    }
    bool changed = false;
    for (;;) {
        const ssize_t received = ::recv(m_events.get(), m_buffer.data(), m_buffer.size(), 0);
        if (received > 0) {
            changed = true;
            continue;
        }
        if (received < 0 && errno == EINTR) {
            continue;
        }
        if (received < 0 && errno == ENOBUFS) {
            changed = true; // events were lost
            continue;
        }
        return changed;
    }
}

bool LinuxNetworkTable::dumpLinks() {
    ifinfomsg request{};
    request.ifi_family = AF_UNSPEC;
    if (!sendDump(RTM_GETLINK, &request, sizeof request)) {
        return false;
    }
    std::map<int, Cached> links;
    const bool ok = receiveDump([&](nlmsghdr* message) {
        if (message->nlmsg_type != RTM_NEWLINK) {
            return;
        }
        const auto* info = static_cast<const ifinfomsg*>(NLMSG_DATA(message));
        Cached cached;
        IfRow& row = cached.row;
        row.index = info->ifi_index;
        row.type = ifType(info->ifi_type);
        row.adminStatus = (info->ifi_flags & IFF_UP) ? 1 : 2;
        unsigned char operstate = IF_OPER_UNKNOWN;
        int length = static_cast<int>(IFLA_PAYLOAD(message));
        for (auto* attribute = IFLA_RTA(info); RTA_OK(attribute, length);
             attribute = RTA_NEXT(attribute, length)) {
            const void* data = RTA_DATA(attribute);
            const auto size = static_cast<std::size_t>(RTA_PAYLOAD(attribute));
            switch (attribute->rta_type) {
            case IFLA_IFNAME:
                row.name.assign(static_cast<const char*>(data),
                                strnlen(static_cast<const char*>(data), size));
                break;
            case IFLA_MTU:
                if (size >= 4) {
                    std::memcpy(&row.mtu, data, 4);
                }
                break;
            case IFLA_TXQLEN:
                if (size >= 4) {
                    std::memcpy(&row.outQueueLength, data, 4);
                }
                break;
            case IFLA_OPERSTATE:
                if (size >= 1) {
                    operstate = *static_cast<const unsigned char*>(data);
                }
                break;
            case IFLA_ADDRESS: {
                const auto* bytes = static_cast<const std::uint8_t*>(data);
                row.address.assign(bytes, bytes + std::min<std::size_t>(size, 8));
                break;
            }
            case IFLA_STATS64:
                if (size >= sizeof(rtnl_link_stats64)) {
                    rtnl_link_stats64 stats{};
                    std::memcpy(&stats, data, sizeof stats);
                    applyStats(row, stats);
                }
                break;
            default:
                break;
            }
        }
        row.operStatus = operStatus(operstate, info->ifi_flags);
        links[row.index] = std::move(cached);
    });
    if (!ok) {
        return false;
    }
    // Speed and description are kept from the last dump while the name stays.
    // The hardware database is loaded only while new names are described: it
    // is large, and descriptions are needed once per interface.
    HardwareModels models;
    for (auto& [index, cached] : links) {
        const auto old = m_links.find(index);
        if (old != m_links.end() && old->second.describedName == cached.row.name) {
            cached.row.description = old->second.row.description;
            cached.describedName = old->second.describedName;
        } else {
            describe(cached.row, models);
            cached.describedName = cached.row.name;
        }
        cached.row.speed = cached.row.operStatus > 2 ? linkSpeed(cached.row.name) : 0;
    }
    m_links = std::move(links);
    m_linksValid = true;
    return true;
}

bool LinuxNetworkTable::dumpStats(std::vector<IfRow>& rows, bool& unknownLink) {
    if_stats_msg request{};
    request.family = AF_UNSPEC;
    request.filter_mask = IFLA_STATS_FILTER_BIT(IFLA_STATS_LINK_64);
    if (!sendDump(RTM_GETSTATS, &request, sizeof request)) {
        return false;
    }
    return receiveDump([&](nlmsghdr* message) {
        if (message->nlmsg_type != RTM_NEWSTATS) {
            return;
        }
        const auto* info = static_cast<const if_stats_msg*>(NLMSG_DATA(message));
        const std::size_t header = NLMSG_ALIGN(sizeof(if_stats_msg));
        if (message->nlmsg_len < NLMSG_LENGTH(header)) {
            return;
        }
        int length = static_cast<int>(message->nlmsg_len - NLMSG_LENGTH(header));
        auto* attribute = reinterpret_cast<rtattr*>(reinterpret_cast<char*>(NLMSG_DATA(message)) + header);
        for (; RTA_OK(attribute, length); attribute = RTA_NEXT(attribute, length)) {
            if (attribute->rta_type == IFLA_STATS_LINK_64 &&
                RTA_PAYLOAD(attribute) >= sizeof(rtnl_link_stats64)) {
                rtnl_link_stats64 stats{};
                std::memcpy(&stats, RTA_DATA(attribute), sizeof stats);
                const auto link = m_links.find(static_cast<int>(info->ifindex));
                if (link != m_links.end()) {
                    rows.push_back(link->second.row);
                    applyStats(rows.back(), stats);
                } else {
                    unknownLink = true; // the cached links are stale
                }
            }
        }
    });
}

std::optional<std::vector<IfRow>> LinuxNetworkTable::readTable() {
    if (!m_request.valid()) {
        return std::nullopt;
    }
    const bool changed = drainLinkEvents();
    if (changed || !m_linksValid || !m_statsSupported) {
        if (!dumpLinks()) {
            m_linksValid = false;
            return std::nullopt;
        }
    } else {
        std::vector<IfRow> rows;
        rows.reserve(m_links.size());
        bool unknownLink = false;
        const bool ok = dumpStats(rows, unknownLink);
        if (!ok) {
            m_statsSupported = false;
        }
        if (ok && !unknownLink && rows.size() == m_links.size()) {
            // The kernel dumps in index order; keep the table's order whatever it does.
            if (!std::is_sorted(rows.begin(), rows.end(),
                                [](const IfRow& a, const IfRow& b) { return a.index < b.index; })) {
                std::sort(rows.begin(), rows.end(),
                          [](const IfRow& a, const IfRow& b) { return a.index < b.index; });
            }
            return rows;
        }
        // Links came or went without an event reaching us: read them whole.
        if (!dumpLinks()) {
            m_linksValid = false;
            return std::nullopt;
        }
    }
    std::vector<IfRow> table;
    table.reserve(m_links.size());
    for (const auto& [index, cached] : m_links) {
        table.push_back(cached.row);
    }
    return table;
}

std::int64_t LinuxNetworkTable::linkSpeed(const std::string& name) {
    if (!m_ioctl.valid() || name.size() >= IFNAMSIZ) {
        return 0;
    }
    // ETHTOOL_GLINKSETTINGS: a handshake first learns the mode-mask size.
    // The settings are followed by three link-mode masks of up to 127 words.
    constexpr std::size_t kMaskBytes = std::size_t{3} * 127 * sizeof(std::uint32_t);
    alignas(ethtool_link_settings) std::uint8_t storage[sizeof(ethtool_link_settings) + kMaskBytes] = {};
    auto* settings = reinterpret_cast<ethtool_link_settings*>(storage);
    ifreq ifr{};
    std::strncpy(ifr.ifr_name, name.c_str(), IFNAMSIZ - 1);
    ifr.ifr_data = reinterpret_cast<char*>(storage);
    settings->cmd = ETHTOOL_GLINKSETTINGS;
    if (::ioctl(m_ioctl.get(), SIOCETHTOOL, &ifr) != 0 || settings->link_mode_masks_nwords >= 0) {
        return 0;
    }
    settings->link_mode_masks_nwords = static_cast<std::int8_t>(-settings->link_mode_masks_nwords);
    settings->cmd = ETHTOOL_GLINKSETTINGS;
    if (::ioctl(m_ioctl.get(), SIOCETHTOOL, &ifr) != 0) {
        return 0;
    }
    const std::uint32_t mbits = settings->speed;
    if (mbits == 0 || mbits == static_cast<std::uint32_t>(SPEED_UNKNOWN)) {
        return 0;
    }
    return static_cast<std::int64_t>(mbits) * 1000000;
}

std::string LinuxNetworkTable::driverName(const std::string& name) {
    if (!m_ioctl.valid() || name.size() >= IFNAMSIZ) {
        return {};
    }
    ethtool_drvinfo info{};
    info.cmd = ETHTOOL_GDRVINFO;
    ifreq ifr{};
    std::strncpy(ifr.ifr_name, name.c_str(), IFNAMSIZ - 1);
    ifr.ifr_data = reinterpret_cast<char*>(&info);
    if (::ioctl(m_ioctl.get(), SIOCETHTOOL, &ifr) != 0) {
        return {};
    }
    return std::string(info.driver, strnlen(info.driver, sizeof info.driver));
}

void LinuxNetworkTable::describe(IfRow& row, HardwareModels& models) {
    std::string what = models.model(row.name);
    if (what.empty()) {
        what = driverName(row.name);
    }
    row.description = what.empty() || what == row.name ? row.name : what + " (" + row.name + ")";
}
