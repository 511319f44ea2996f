#pragma once
// Takes one drive's volume off line so its device can be pulled out safely:
// open, lock, dismount, allow removal, eject, close, free the letter. Each
// failing step is reported in a slide-in alert with the system's error number.
#include "alert/IAlert.h"
#include "platform/IClock.h"
#include "platform/IDrives.h"

#include <cstdint>
#include <string>

struct EjectContext {
    IDrives& drives;
    IClock& clock;
    IAlert& alert;
    // Runs the window's events for at most maxMs; false when the program is
    // ending and the sequence must stop.
    IDrives::Wait wait;
};

// The whole sequence for one drive name ("e:" is worked on as "E:").
void EjectDrive(std::string name, EjectContext& context);

// A device control code: type x 65536 | access x 16384 | function x 4 | method.
std::uint32_t ControlCode(std::uint32_t deviceType, std::uint32_t function, std::uint32_t method,
                          std::uint32_t access);

// Alert parameters of the ejection.
inline constexpr std::int32_t kEjectAlertMs = 2500;
inline constexpr std::int32_t kEjectFailureSound = 100;
inline constexpr std::int32_t kEjectSuccessSound = 102;
