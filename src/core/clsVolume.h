#pragma once
// The speakers' mute state, with the beeps that let the user hear a toggle.
#include "platform/ISpeakers.h"

#include <cstdint>

class clsVolume {
public:
    explicit clsVolume(ISpeakers& speakers) : m_speakers(speakers) {}
    // 0 not muted (also when the state cannot be read), 1 muted.
    std::int32_t GetMute() { return m_speakers.getMute(); }
    // 0 unmutes, anything else mutes.
    void SetMute(std::int32_t bMute) { m_speakers.setMute(bMute != 0); }

private:
    ISpeakers& m_speakers;
};

// Muted: unmutes, then beeps rising (300 Hz, 360 Hz, 60 ms each). Otherwise:
// beeps 280 Hz for 100 ms while the sound is still on, then mutes.
void ToggleMute(ISpeakers& speakers);
