#pragma once
// Memory that runs out as it is claimed; records the out-of-memory offers.
#include "platform/IMemoryClaim.h"

#include <vector>

class FakeMemoryClaim : public IMemoryClaim {
public:
    bool claim(std::int64_t bytes) override {
        ++claims;
        if (refuse) {
            return false;
        }
        held += bytes;
        return true;
    }
    void releaseAll() override {
        releasedAt.push_back(held);
        held = 0;
    }
    std::int64_t claimedBytes() const override { return held; }
    std::int64_t availableBytes() override { return available - held; }
    void offerAsFirstVictim(bool on) override { offers.push_back(on); }

    std::int64_t available = std::int64_t{1} << 40;
    std::int64_t held = 0;
    bool refuse = false;
    int claims = 0;
    std::vector<std::int64_t> releasedAt;
    std::vector<bool> offers;
};
