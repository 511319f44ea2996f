#pragma once
// The system's table of network interfaces, one row per interface.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One interface as the system reports it. Counters are carried whole (64-bit)
// where the system has them; narrower sources zero-extend.
struct IfRow {
    std::string name;                  // UTF-8
    std::int32_t index = 0;            // the system's interface index
    std::int32_t type = 0;             // IANA ifType (6 ethernet, 24 loopback, ...)
    std::int32_t mtu = 0;              // bytes
    std::int64_t speed = 0;            // link speed in bits per second, 0 when unknown
    std::vector<std::uint8_t> address; // physical address, at most 8 bytes
    std::int32_t adminStatus = 0;      // 1 up, 2 down
    std::int32_t operStatus = 0;       // 0..5, see CInterface::OperationalStatus
    std::uint32_t lastChange = 0;
    std::uint64_t octetsIn = 0;  // bytes received
    std::uint64_t octetsOut = 0; // bytes sent
    std::uint32_t unicastIn = 0, nonUnicastIn = 0, discardsIn = 0, errorsIn = 0, unknownProtosIn = 0;
    std::uint32_t unicastOut = 0, nonUnicastOut = 0, discardsOut = 0, errorsOut = 0, outQueueLength = 0;
    std::string description; // UTF-8, what a user recognises
};

class INetworkTable {
public:
    virtual ~INetworkTable() = default;
    // A fresh snapshot of every interface in a stable order (interface index).
    // std::nullopt when the table cannot be read at all.
    virtual std::optional<std::vector<IfRow>> readTable() = 0;
    // The index of the interface that carries the default route: IPv4 first,
    // else IPv6, the route with the lowest metric. std::nullopt when there is
    // no default route or the routes cannot be read.
    virtual std::optional<std::int32_t> defaultRouteIndex() = 0;
};
