#pragma once
// A sound output whose mute state the test sets; records each call in order.
#include "platform/ISpeakers.h"

#include <string>
#include <vector>

class FakeSpeakers : public ISpeakers {
public:
    std::int32_t getMute() override {
        calls.push_back("get");
        return muted;
    }
    void setMute(bool mute) override {
        calls.push_back(mute ? "mute" : "unmute");
        muted = mute ? 1 : 0;
    }
    void beep(std::int32_t frequency, std::int32_t ms) override {
        calls.push_back("beep " + std::to_string(frequency) + " " + std::to_string(ms));
    }
    std::int32_t muted = 0;
    std::vector<std::string> calls;
};
