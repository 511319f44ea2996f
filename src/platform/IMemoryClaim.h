#pragma once
// Memory claimed and returned by the Free Memory tool: claiming pushes other
// programs' idle pages out of RAM, returning it leaves that RAM free.
#include <cstdint>

class IMemoryClaim {
public:
    virtual ~IMemoryClaim() = default;
    // Claims a block of bytes and writes every page of it, so it is really
    // resident; false when the system refused the block.
    virtual bool claim(std::int64_t bytes) = 0;
    // Returns every claimed block at once.
    virtual void releaseAll() = 0;
    virtual std::int64_t claimedBytes() const = 0;
    // What may still be claimed: the lower of the system's available memory
    // and the room left under the memory limits of this process's cgroup and
    // its parents.
    virtual std::int64_t availableBytes() = 0;
    // While on, this process is the first the out-of-memory killer ends, so a
    // free that goes too far never costs another program; off restores the
    // previous standing.
    virtual void offerAsFirstVictim(bool on) = 0;
};
