#pragma once
// Processor and memory figures in the shapes the metrics logic expects.
#include <cstdint>
#include <optional>
#include <vector>

// Memory figures, bytes, 64-bit (the extended status record).
struct MemoryStatusEx {
    std::uint32_t memoryLoad = 0; // percent of physical memory in use
    std::uint64_t totalPhys = 0, availPhys = 0;
    std::uint64_t totalPageFile = 0, availPageFile = 0;
    std::uint64_t totalVirtual = 0, availVirtual = 0;
};

// The older 32-bit memory record; sizes of 2 GiB and more have the high bit set.
struct MemoryStatus32 {
    std::uint32_t memoryLoad = 0;
    std::uint32_t totalPhys = 0, availPhys = 0;
    std::uint32_t totalPageFile = 0, availPageFile = 0;
    std::uint32_t totalVirtual = 0, availVirtual = 0;
};

class ISystemInfo {
public:
    virtual ~ISystemInfo() = default;

    // Platform identifier of the OS version record: 2 for the NT family, 1 for
    // the 9x family; std::nullopt when the version cannot be read.
    virtual std::optional<int> platformId() = 0;
    // Raw version word: high bit clear on the NT family.
    virtual std::uint32_t versionWord() = 0;
    // Number of processors configured, at least 1: every processor number of
    // the performance data is below it (offline ones are left out of it).
    virtual int processorCount() = 0;

    // NT family: the performance data of the Processor object written into
    // buffer. size is the buffer size in, the data length out. Returns 0 on
    // success, 234 when the buffer is too small, another code on failure.
    virtual long queryPerformanceData(std::vector<std::uint8_t>& buffer, std::uint32_t& size) = 0;

    // 9x family dynamic statistics keys. Open returns a non-zero handle or
    // std::nullopt; read gives a 4-byte value or std::nullopt.
    virtual std::optional<std::uintptr_t> openDynKey(const char* path, std::uint32_t access) = 0;
    virtual std::optional<std::uint32_t> readDynValue(std::uintptr_t key, const char* name) = 0;
    virtual void closeDynKey(std::uintptr_t key) = 0;

    // Memory status, extended (NT) and 32-bit (9x); std::nullopt when missing.
    virtual std::optional<MemoryStatusEx> memoryStatusEx() = 0;
    virtual std::optional<MemoryStatus32> memoryStatus32() = 0;
};
