#pragma once
// Time as the program sees it: the wall clock for second boundaries and a
// monotonic tick count for intervals. Tests advance a fake instead of sleeping.
#include <cstdint>

class IClock {
public:
    virtual ~IClock() = default;
    // Wall-clock time in whole seconds since the Unix epoch (UTC, so a
    // daylight-saving change does not move it; a user setting the clock does).
    virtual std::int64_t wallSeconds() = 0;
    // The same clock in milliseconds, for waking up just after a second turns.
    virtual std::int64_t wallMs() = 0;
    // Milliseconds on a monotonic clock with an arbitrary origin.
    virtual std::int64_t tickMs() = 0;
};
