#pragma once
// One free operation of the Free Memory tool, apart from its window: count
// steps, each claiming one 2 MiB block (up to 4096 blocks), then everything
// returned in one sweep. Plain C++.
#include "platform/IMemoryClaim.h"

#include <cstdint>
#include <functional>

inline constexpr std::int64_t kFreeBlockBytes = std::int64_t{2} * 1048576;
inline constexpr std::int32_t kMaxFreeBlocks = 4096;

struct FreeResult {
    std::int32_t steps = 0;       // steps run, the stopped one included
    std::int64_t claimedPeak = 0; // bytes held just before the sweep
    bool stopped = false;
    bool floorReached = false; // claiming stopped to keep the machine's floor free
};

// Runs the operation. Before each step's claim, step(i) shows the progress,
// lets the window's events run and says whether to go on (false: stop, the
// blocks so far are returned). Past 4096 blocks, or once the memory that
// would be left falls below the floor for totalPhys, a step only advances the
// progress. While it claims, the process is the out-of-memory killer's first
// choice.
FreeResult RunFree(IMemoryClaim& memory, std::int32_t count, std::int64_t totalPhys,
                   const std::function<bool(std::int32_t step)>& step);
