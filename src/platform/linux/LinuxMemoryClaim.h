#pragma once
// Memory claimed with anonymous mappings, every page written.
#include "platform/IMemoryClaim.h"

#include <string>
#include <vector>

class LinuxMemoryClaim : public IMemoryClaim {
public:
    explicit LinuxMemoryClaim(std::string cgroupRoot = "/sys/fs/cgroup");
    ~LinuxMemoryClaim() override;
    bool claim(std::int64_t bytes) override;
    void releaseAll() override;
    std::int64_t claimedBytes() const override { return m_claimed; }
    std::int64_t availableBytes() override;
    void offerAsFirstVictim(bool on) override;

private:
    struct Block {
        void* address;
        std::size_t size;
    };
    std::string m_cgroupRoot;
    std::vector<Block> m_blocks;
    std::int64_t m_claimed = 0;
    std::string m_previousScore; // oom_score_adj before the offer
};
