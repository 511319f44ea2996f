#pragma once
// The system's default sound output: its mute state, and tone beeps.
#include <cstdint>

class ISpeakers {
public:
    virtual ~ISpeakers() = default;
    // 1 when the default output is muted; 0 when it is not, or when there is
    // no sound server or no output. Returns within about a second.
    virtual std::int32_t getMute() = 0;
    // Mutes (true) or unmutes the default output; nothing without a server.
    // Returns once done, or after about a second.
    virtual void setMute(bool mute) = 0;
    // Plays a sine tone of frequency Hz for ms and returns once it has been
    // heard; nothing without a server.
    virtual void beep(std::int32_t frequency, std::int32_t ms) = 0;
};
