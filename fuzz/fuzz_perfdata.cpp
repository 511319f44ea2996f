// The performance-data walk, on its own and through the processor sampler.
#include "metrics/CPULoad.h"
#include "platform/ISystemInfo.h"
#include "platform/PerfData.h"

#include <cstring>

namespace {
class BytesSystem : public ISystemInfo {
public:
    std::span<const std::uint8_t> bytes;
    std::optional<int> platformId() override { return 2; }
    std::uint32_t versionWord() override { return 0; }
    int processorCount() override { return 4; }
    long queryPerformanceData(std::vector<std::uint8_t>& buffer, std::uint32_t& size) override {
        if (bytes.size() > buffer.size()) {
            size = static_cast<std::uint32_t>(bytes.size());
            return 234;
        }
        std::memcpy(buffer.data(), bytes.data(), bytes.size());
        size = static_cast<std::uint32_t>(bytes.size());
        return 0;
    }
    std::optional<std::uintptr_t> openDynKey(const char*, std::uint32_t) override { return std::nullopt; }
    std::optional<std::uint32_t> readDynValue(std::uintptr_t, const char*) override { return std::nullopt; }
    void closeDynKey(std::uintptr_t) override {}
    std::optional<MemoryStatusEx> memoryStatusEx() override { return std::nullopt; }
    std::optional<MemoryStatus32> memoryStatus32() override { return std::nullopt; }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    WalkPerfData(std::span<const std::uint8_t>(data, size));
    BytesSystem system;
    system.bytes = std::span<const std::uint8_t>(data, size);
    CPULoad load(system);
    load.GetAllCPUUsage();
    load.GetAllCPUUsage();
    return 0;
}
