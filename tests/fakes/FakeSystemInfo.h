#pragma once
// Processor and memory figures set by the test.
#include "platform/ISystemInfo.h"

#include <cstring>

class FakeSystemInfo : public ISystemInfo {
public:
    std::optional<int> platformId() override { return platform; }
    std::uint32_t versionWord() override { return version; }
    int processorCount() override { return cpus; }
    long queryPerformanceData(std::vector<std::uint8_t>& buffer, std::uint32_t& size) override {
        if (queryResult != 0) {
            return queryResult;
        }
        if (block.empty()) {
            return 30; // nothing to give: a read fault
        }
        if (block.size() > size) {
            size = static_cast<std::uint32_t>(block.size());
            return 234;
        }
        std::memcpy(buffer.data(), block.data(), block.size());
        size = static_cast<std::uint32_t>(block.size());
        return 0;
    }
    // The 9x family's statistics keys are not used by these tests.
    std::optional<std::uintptr_t> openDynKey(const char*, std::uint32_t) override { return std::nullopt; }
    std::optional<std::uint32_t> readDynValue(std::uintptr_t, const char*) override { return std::nullopt; }
    void closeDynKey(std::uintptr_t) override {}
    std::optional<MemoryStatusEx> memoryStatusEx() override { return memoryEx; }
    std::optional<MemoryStatus32> memoryStatus32() override { return std::nullopt; }

    std::optional<int> platform = 2;
    std::uint32_t version = 0x0A;
    int cpus = 2;
    std::vector<std::uint8_t> block;
    long queryResult = 0;
    std::optional<MemoryStatusEx> memoryEx;
};
