#pragma once
// Records the event sounds played.
#include "platform/ISound.h"

#include <vector>

class FakeSound : public ISound {
public:
    bool playEvent(const std::string& alias) override {
        played.push_back(alias);
        return true;
    }
    std::vector<std::string> played;
};
