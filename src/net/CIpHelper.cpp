#include "CIpHelper.h"

#include "IfTableFormat.h"
#include "platform/INetworkTable.h"

std::shared_ptr<CInterfaces> CIpHelper::Interfaces() {
    m_Interfaces.reset();
    auto fresh = std::make_shared<CInterfaces>();
    LoadInterfaceTable(*fresh);
    m_Interfaces = fresh;
    return fresh;
}

CInterfaces::Ref CIpHelper::RecordFromRow(IfRow&& row) {
    auto record = std::make_shared<CInterface>();
    record->InterfaceName = std::move(row.name);
    record->InterfaceIndex = row.index;
    record->InterfaceType = row.type;
    record->Speed = row.speed;
    record->AdapterAddress = FormatAdapterAddress(row.address.data(), row.address.size());
    record->AdminStatus = row.adminStatus;
    record->OperationalStatus = row.operStatus;
    record->LastChange = static_cast<double>(row.lastChange);
    record->SetOctetsReceived(static_cast<CInterface::Octets>(row.octetsIn));
    record->UnicastPacketsReceived = static_cast<std::int32_t>(row.unicastIn);
    record->MaximumTransmissionUnit = row.mtu;
    record->NonunicastPacketsReceived = static_cast<std::int32_t>(row.nonUnicastIn);
    record->DiscardedIncomingPackets = static_cast<std::int32_t>(row.discardsIn);
    record->IncomingErrors = static_cast<std::int32_t>(row.errorsIn);
    record->UnknownProtocolPackets = static_cast<std::int32_t>(row.unknownProtosIn);
    record->SetOctetsSent(static_cast<CInterface::Octets>(row.octetsOut));
    record->UnicastPacketsSent = static_cast<std::int32_t>(row.unicastOut);
    record->NonunicastPacketsSent = static_cast<std::int32_t>(row.nonUnicastOut);
    record->DiscardedOutgoingPackets = static_cast<std::int32_t>(row.discardsOut);
    record->OutgoingErrors = static_cast<std::int32_t>(row.errorsOut);
    record->OutputQueueLength = static_cast<std::int32_t>(row.outQueueLength);
    record->InterfaceDescription = std::move(row.description);
    return record;
}

std::int16_t CIpHelper::LoadInterfaceTable(CInterfaces& interfaces) {
    m_BytesReceived = 0;
    m_BytesSent = 0;
    auto rows = m_table.readTable();
    if (!rows) {
        return 0;
    }
    // The sums are kept in whole bytes and stored back as doubles.
    CInterface::Octets received = 0;
    CInterface::Octets sent = 0;
    for (IfRow& row : *rows) {
        const std::int64_t speed = row.speed;
        CInterfaces::Ref record = RecordFromRow(std::move(row));
        received += record->OctetsReceived();
        sent += record->OctetsSent();
        m_BytesReceived = static_cast<double>(received);
        m_BytesSent = static_cast<double>(sent);
        m_Speed = speed;
        interfaces.Add(record);
    }
    return 0;
}

std::optional<std::int32_t> CIpHelper::DefaultRouteIndex() {
    return m_table.defaultRouteIndex();
}
