#pragma once
// System event sounds, played asynchronously.
#include <string>

class ISound {
public:
    virtual ~ISound() = default;
    // Plays the system event named by its alias ("SystemHand",
    // "SystemExclamation", "SystemAsterisk", "SystemQuestion"). Returns false
    // when nothing could be played; never blocks.
    virtual bool playEvent(const std::string& alias) = 0;
};
