#pragma once
// A network table whose rows the test sets; counts the reads.
#include "platform/INetworkTable.h"

class FakeNetworkTable : public INetworkTable {
public:
    std::optional<std::vector<IfRow>> readTable() override {
        ++reads;
        return rows;
    }
    std::optional<std::int32_t> defaultRouteIndex() override { return defaultRoute; }
    static IfRow row(const std::string& description, std::uint64_t in = 0, std::uint64_t out = 0,
                     std::int32_t status = 5, std::int64_t speed = 100000000) {
        IfRow r;
        r.name = description;
        r.description = description;
        r.octetsIn = in;
        r.octetsOut = out;
        r.operStatus = status;
        r.speed = speed;
        return r;
    }
    // A row with the system's index, type (6 ethernet, 24 loopback) and status.
    static IfRow link(const std::string& name, std::int32_t index, std::int32_t type = 6,
                      std::int32_t status = 5) {
        IfRow r = row(name, 0, 0, status);
        r.index = index;
        r.type = type;
        return r;
    }
    std::vector<IfRow> rows;
    std::optional<std::int32_t> defaultRoute;
    int reads = 0;
};
