#include "core/SecondTick.h"

int MsToNextTick(std::int64_t nowMs) {
    // The remainder taken toward minus infinity, so that times before 1970
    // are no different.
    const std::int64_t intoSecond = ((nowMs % 1000) + 1000) % 1000;
    const std::int64_t wait = (kTickAfterSecondMs - intoSecond + 1000) % 1000;
    return wait == 0 ? 1000 : static_cast<int>(wait);
}
