#pragma once
// The machine's power: mains and battery.
#include <cstdint>
#include <optional>

struct PowerStatus {
    std::uint8_t acLineStatus = 0;       // 0 offline, 1 online, 255 unknown
    std::uint8_t batteryLifePercent = 0; // 0..100, 255 unknown (no battery)
};

class IPowerStatus {
public:
    virtual ~IPowerStatus() = default;
    // The current status; std::nullopt when it cannot be read at all.
    virtual std::optional<PowerStatus> read() = 0;
};
