#pragma once
// Reads the interface table: every read of Interfaces() takes a fresh
// snapshot and keeps the sums of its byte counters.
#include "CInterfaces.h"

#include <memory>
#include <optional>

class INetworkTable;
struct IfRow;

class CIpHelper {
public:
    explicit CIpHelper(INetworkTable& table) : m_table(table) {}

    // A new collection filled from a fresh snapshot; empty when the table
    // cannot be read. The previous collection is released.
    std::shared_ptr<CInterfaces> Interfaces();
    void SetInterfaces(std::shared_ptr<CInterfaces> interfaces) { m_Interfaces = std::move(interfaces); }

    double BytesReceived() const { return m_BytesReceived; }
    double BytesSent() const { return m_BytesSent; }
    // Link speed of the last row of the latest snapshot, bits per second.
    double Speed() const { return static_cast<double>(m_Speed); }

    // The system's index of the interface that carries the default route.
    std::optional<std::int32_t> DefaultRouteIndex();

    // Makes one record from one row of the table (its texts are moved).
    static CInterfaces::Ref RecordFromRow(IfRow&& row);

private:
    std::int16_t LoadInterfaceTable(CInterfaces& interfaces);

    INetworkTable& m_table;
    std::shared_ptr<CInterfaces> m_Interfaces = std::make_shared<CInterfaces>();
    double m_BytesReceived = 0;
    double m_BytesSent = 0;
    std::int64_t m_Speed = 0;
};
