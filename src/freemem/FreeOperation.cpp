#include "freemem/FreeOperation.h"

#include "freemem/FreeMemLogic.h"

FreeResult RunFree(IMemoryClaim& memory, std::int32_t count, std::int64_t totalPhys,
                   const std::function<bool(std::int32_t step)>& step) {
    FreeResult result;
    const std::int64_t floor = ClaimFloor(totalPhys);
    memory.offerAsFirstVictim(true);
    for (std::int32_t i = 1; i <= count; ++i) {
        result.steps = i;
        if (!step(i)) {
            result.stopped = true;
            break;
        }
        if (i > kMaxFreeBlocks || result.floorReached) {
            continue; // the progress only
        }
        if (!MayClaim(memory.availableBytes(), kFreeBlockBytes, floor)) {
            result.floorReached = true;
            continue;
        }
        memory.claim(kFreeBlockBytes); // a refused block claims nothing; the loop goes on
    }
    result.claimedPeak = memory.claimedBytes();
    memory.releaseAll();
    memory.offerAsFirstVictim(false);
    return result;
}
