#pragma once
// A clock the test moves by hand.
#include "platform/IClock.h"

class FakeClock : public IClock {
public:
    std::int64_t wallSeconds() override { return seconds; }
    std::int64_t wallMs() override { return seconds * 1000 + wallFraction; }
    std::int64_t tickMs() override { return ms; }
    std::int64_t seconds = 1000000;
    std::int64_t wallFraction = 0; // milliseconds into the current second
    std::int64_t ms = 0;
};
