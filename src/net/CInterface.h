#pragma once
// One network interface: a plain record copied from one row of the table.
#include <cstdint>
#include <string>
#include <utility>

class CInterface {
public:
    // Byte counters are whole numbers of bytes held in 64 bits.
    using Octets = std::int64_t;

    std::string InterfaceName;
    std::int32_t InterfaceIndex = 0;
    std::int32_t InterfaceType = 0;
    // Link speed in bits per second (64-bit so that 10 Gbit/s and more fit).
    std::int64_t Speed = 0;
    std::string AdapterAddress;
    std::int32_t AdminStatus = 0;
    // 0 non-operational, 1 unreachable, 2 disconnected, 3 connecting,
    // 4 connected, 5 operational; 0 to 2 count as no link.
    std::int32_t OperationalStatus = 0;
    double LastChange = 0; // days, as the row's count is kept; nothing reads it
    std::int32_t UnicastPacketsReceived = 0;
    std::int32_t MaximumTransmissionUnit = 0;
    std::int32_t NonunicastPacketsReceived = 0;
    std::int32_t DiscardedIncomingPackets = 0;
    std::int32_t IncomingErrors = 0;
    std::int32_t UnknownProtocolPackets = 0;
    std::int32_t UnicastPacketsSent = 0;
    std::int32_t NonunicastPacketsSent = 0;
    std::int32_t DiscardedOutgoingPackets = 0;
    std::int32_t OutgoingErrors = 0;
    std::int32_t OutputQueueLength = 0;
    std::string InterfaceDescription;

    // What makes it the same interface from one table to the next: the
    // system's index and the name (an index can be reused by a new one).
    using Identity = std::pair<std::int32_t, std::string>;
    Identity Id() const { return {InterfaceIndex, InterfaceName}; }
    bool Is(const Identity& id) const { return InterfaceIndex == id.first && InterfaceName == id.second; }

    Octets OctetsReceived() const { return m_OctetsReceived; }
    Octets OctetsSent() const { return m_OctetsSent; }
    // A negative value is a 32-bit counter of 2^31 or more read as signed:
    // it is stored plus 2^32 so the record always holds the unsigned count.
    void SetOctetsReceived(Octets value) { m_OctetsReceived = repairSign(value); }
    void SetOctetsSent(Octets value) { m_OctetsSent = repairSign(value); }

private:
    static Octets repairSign(Octets value) { return value < 0 ? value + 4294967296LL : value; }

    Octets m_OctetsReceived = 0;
    Octets m_OctetsSent = 0;
};
