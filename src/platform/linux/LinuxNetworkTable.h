#pragma once
// The interface table over rtnetlink: link attributes from an RTM_GETLINK
// dump, refreshed when the kernel announces a link change, and the 64-bit
// counters from a cheap RTM_GETSTATS dump on every read.
#include "UniqueFd.h"
#include "platform/INetworkTable.h"

#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>

class HardwareModels;

class LinuxNetworkTable : public INetworkTable {
public:
    LinuxNetworkTable();
    ~LinuxNetworkTable() override;
    LinuxNetworkTable(const LinuxNetworkTable&) = delete;
    LinuxNetworkTable& operator=(const LinuxNetworkTable&) = delete;

    std::optional<std::vector<IfRow>> readTable() override;
    std::optional<std::int32_t> defaultRouteIndex() override;

private:
    struct Cached {
        IfRow row;
        std::string describedName; // the name the description was made for
    };

    enum class Dump { Complete, Interrupted, Failed, NoAnswer };

    bool drainLinkEvents();
    bool dumpLinks();
    Dump dumpStats(std::vector<IfRow>& rows, bool& unknownLink);
    bool sendDump(int type, const void* payload, std::size_t length);
    // Receives the answer to the last dump request, message by message.
    Dump receiveDump(const std::function<void(std::uint16_t type, std::span<const std::uint8_t>)>& handler);
    void describe(IfRow& row, HardwareModels& models);
    std::int64_t linkSpeed(const std::string& name);
    std::string driverName(const std::string& name);

    UniqueFd m_request;
    UniqueFd m_events;
    UniqueFd m_ioctl;
    std::uint32_t m_sequence = 1;
    bool m_linksValid = false;
    bool m_statsSupported = true;
    std::map<int, Cached> m_links; // by interface index
    std::vector<char> m_buffer;
};
