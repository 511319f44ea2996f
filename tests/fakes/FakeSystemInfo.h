#pragma once
// Processor and memory figures set by the test; records the queries.
#include "platform/ISystemInfo.h"

#include <cstring>
#include <map>
#include <string>

class FakeSystemInfo : public ISystemInfo {
public:
    std::optional<int> platformId() override { return platform; }
    std::uint32_t versionWord() override { return version; }
    int processorCount() override { return cpus; }
    long queryPerformanceData(std::vector<std::uint8_t>& buffer, std::uint32_t& size) override {
        querySizes.push_back(size);
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
    std::optional<std::uintptr_t> openDynKey(const char* path, std::uint32_t access) override {
        opened.push_back(std::string(path) + "@" + std::to_string(access));
        if (failOpen.count(path)) {
            return std::nullopt;
        }
        return ++lastKey;
    }
    std::optional<std::uint32_t> readDynValue(std::uintptr_t, const char*) override { return usage9x; }
    void closeDynKey(std::uintptr_t key) override { closed.push_back(key); }
    std::optional<MemoryStatusEx> memoryStatusEx() override { return memoryEx; }
    std::optional<MemoryStatus32> memoryStatus32() override { return memory32; }

    std::optional<int> platform = 2;
    std::uint32_t version = 0x0A;
    int cpus = 2;
    std::vector<std::uint8_t> block;
    long queryResult = 0;
    std::vector<std::uint32_t> querySizes;
    std::map<std::string, bool> failOpen;
    std::vector<std::string> opened;
    std::vector<std::uintptr_t> closed;
    std::uintptr_t lastKey = 100;
    std::uint32_t usage9x = 0;
    std::optional<MemoryStatusEx> memoryEx;
    std::optional<MemoryStatus32> memory32;
};
