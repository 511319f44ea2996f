#pragma once
// The moment of each second when the program's periodic work wakes: just
// after the wall clock's second turns. One wake-up a second then takes every
// sample; a timer running every half second would wake twice for each.
#include <cstdint>

constexpr int kTickAfterSecondMs = 20;

// How long to wait from the wall-clock time nowMs (1 to 1000 ms) until the
// next moment kTickAfterSecondMs past a whole second.
int MsToNextTick(std::int64_t nowMs);
