#pragma once
// The rtnetlink messages the interface table reads, decoded from the bytes
// received. Pure functions: they never read outside the buffer given, however
// the lengths inside it lie.
#include "platform/INetworkTable.h"

#include <cstdint>
#include <functional>
#include <linux/if_link.h>
#include <optional>
#include <span>

// How one received buffer of a dump ended.
enum class DumpStep {
    More,   // the dump goes on in the next buffer
    Done,   // the dump's end was reached
    Failed, // the kernel answered with an error
};

// Walks one received buffer of the dump with sequence number `sequence`,
// handing the type and payload of each of its messages to handler; messages
// of other sequences are skipped. Sets interrupted when the kernel marked a
// message as part of a dump whose table changed meanwhile: its answer may
// miss or repeat entries and must be asked for again.
DumpStep
WalkDumpBuffer(std::span<const std::uint8_t> buffer, std::uint32_t sequence, bool& interrupted,
               const std::function<void(std::uint16_t type, std::span<const std::uint8_t>)>& handler);

// One RTM_NEWLINK payload: index, name, type, MTU, queue length, address,
// status and the 64-bit counters. Speed and description are left empty.
// std::nullopt when the payload is shorter than its fixed header.
std::optional<IfRow> DecodeLinkMessage(std::span<const std::uint8_t> payload);

// One RTM_NEWSTATS payload: the interface index and the counters carried by
// IFLA_STATS_LINK_64. std::nullopt when the payload is too short or has no
// such counters.
struct LinkStats {
    std::int32_t index = 0;
    rtnl_link_stats64 counters{};
};
std::optional<LinkStats> DecodeStatsMessage(std::span<const std::uint8_t> payload);

// One RTM_NEWROUTE payload, when it is a default route (no destination
// prefix) of the main table, unicast, with an output interface: that index
// and the route's metric (0 when it gives none).
struct DefaultRoute {
    std::int32_t index = 0;
    std::uint32_t metric = 0;
};
std::optional<DefaultRoute> DecodeDefaultRoute(std::span<const std::uint8_t> payload);

// Writes the kernel's counters into the row's fields.
void ApplyStats(IfRow& row, const rtnl_link_stats64& counters);
