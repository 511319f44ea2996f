#pragma once
// The system's default sound output: its mute state, and tone beeps. None of
// these waits on the sound server: what the server is asked to do is done in
// the order asked, after the call returns.
#include <cstdint>

class ISpeakers {
public:
    virtual ~ISpeakers() = default;
    // 1 when the default output is known to be muted; 0 when it is not, or
    // when there is no sound server or no output, or before the server's
    // first answer (the first call starts asking).
    virtual std::int32_t getMute() = 0;
    // Mutes (true) or unmutes the default output; nothing without a server.
    // getMute answers the new state at once.
    virtual void setMute(bool mute) = 0;
    // Plays a sine tone of frequency Hz for ms, after what was asked before;
    // nothing without a server.
    virtual void beep(std::int32_t frequency, std::int32_t ms) = 0;
};
