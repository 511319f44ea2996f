#include "LinuxNetworkTable.h"

#include "FileReader.h"
#include "HardwareModels.h"
#include "NetlinkMessages.h"

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
// The kernel answers a dump at once; one that holds its network lock for
// longer must not freeze the window: the read fails and the next tick tries again.
constexpr int kReceiveTimeoutMs = 1000;
// A dump interrupted by a change of the table is asked for again, this often.
constexpr int kDumpAttempts = 4;

} // namespace

LinuxNetworkTable::LinuxNetworkTable() : m_buffer(kReceiveBuffer) {
    m_request.reset(::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE));
    if (m_request.valid()) {
        timeval timeout{};
        timeout.tv_sec = kReceiveTimeoutMs / 1000;
        timeout.tv_usec = static_cast<suseconds_t>(kReceiveTimeoutMs % 1000) * 1000;
        ::setsockopt(m_request.get(), SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    }
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

LinuxNetworkTable::Dump LinuxNetworkTable::receiveDump(
    const std::function<void(std::uint16_t, std::span<const std::uint8_t>)>& handler) {
    bool interrupted = false;
    for (;;) {
        const ssize_t received = ::recv(m_request.get(), m_buffer.data(), m_buffer.size(), 0);
        if (received < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Dump::NoAnswer; // also the receive time-out
        }
        const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(m_buffer.data()),
                                                  static_cast<std::size_t>(received));
        switch (WalkDumpBuffer(bytes, m_sequence, interrupted, handler)) {
        case DumpStep::More:
            break;
        case DumpStep::Done:
            return interrupted ? Dump::Interrupted : Dump::Complete;
        case DumpStep::Failed:
            return Dump::Failed;
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
    std::map<int, Cached> links;
    Dump result = Dump::Interrupted;
    for (int attempt = 0; attempt < kDumpAttempts && result == Dump::Interrupted; ++attempt) {
        ifinfomsg request{};
        request.ifi_family = AF_UNSPEC;
        if (!sendDump(RTM_GETLINK, &request, sizeof request)) {
            return false;
        }
        links.clear();
        result = receiveDump([&](std::uint16_t type, std::span<const std::uint8_t> payload) {
            if (type != RTM_NEWLINK) {
                return;
            }
            if (auto row = DecodeLinkMessage(payload)) {
                Cached cached;
                cached.row = std::move(*row);
                links[cached.row.index] = std::move(cached);
            }
        });
    }
    if (result != Dump::Complete) {
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

LinuxNetworkTable::Dump LinuxNetworkTable::dumpStats(std::vector<IfRow>& rows, bool& unknownLink) {
    if_stats_msg request{};
    request.family = AF_UNSPEC;
    request.filter_mask = IFLA_STATS_FILTER_BIT(IFLA_STATS_LINK_64);
    if (!sendDump(RTM_GETSTATS, &request, sizeof request)) {
        return Dump::Failed;
    }
    return receiveDump([&](std::uint16_t type, std::span<const std::uint8_t> payload) {
        if (type != RTM_NEWSTATS) {
            return;
        }
        const auto stats = DecodeStatsMessage(payload);
        if (!stats) {
            return;
        }
        const auto link = m_links.find(stats->index);
        if (link != m_links.end()) {
            rows.push_back(link->second.row);
            ApplyStats(rows.back(), stats->counters);
        } else {
            unknownLink = true; // the cached links are stale
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
        const Dump result = dumpStats(rows, unknownLink);
        const bool ok = result == Dump::Complete;
        if (result == Dump::Failed) {
            m_statsSupported = false; // an older kernel refuses the request
        } else if (result == Dump::NoAnswer) {
            return std::nullopt;
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

std::optional<std::int32_t> LinuxNetworkTable::defaultRouteIndex() {
    if (!m_request.valid()) {
        return std::nullopt;
    }
    for (const unsigned char family : {AF_INET, AF_INET6}) {
        rtmsg request{};
        request.rtm_family = family;
        if (!sendDump(RTM_GETROUTE, &request, sizeof request)) {
            return std::nullopt;
        }
        std::optional<DefaultRoute> best;
        const Dump result = receiveDump([&](std::uint16_t type, std::span<const std::uint8_t> payload) {
            if (type != RTM_NEWROUTE) {
                return;
            }
            const auto route = DecodeDefaultRoute(payload);
            if (route && (!best || route->metric < best->metric)) {
                best = route;
            }
        });
        if (result != Dump::Failed && result != Dump::NoAnswer && best) {
            return best->index;
        }
    }
    return std::nullopt;
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
