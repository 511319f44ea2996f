#pragma once
// Shows a slide-in alert. Plain C++, so the logic that reports through
// alerts runs against a fake.
#include <cstdint>
#include <string>

// Sound codes: 101 "SystemAsterisk", 102 "SystemExclamation", 103
// "SystemQuestion", any other "SystemHand".
class IAlert {
public:
    virtual ~IAlert() = default;
    // Opens a new alert window with the message, shows it for duration ms (0:
    // until "OK" is clicked), plays the sound, and returns once it has slid in.
    // alignment: 0 left, 1 right, 2 centre.
    virtual void ShowMessage(const std::string& MessageText, std::int32_t duration, std::int32_t Sound,
                             std::int16_t Alignment, const std::string& FontName, float FontSize) = 0;
};
