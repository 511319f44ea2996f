#pragma once
// Processor and memory figures from /proc.
#include "FileReader.h"
#include "platform/ISystemInfo.h"

#include <string>

class LinuxSystemInfo : public ISystemInfo {
public:
    LinuxSystemInfo();
    std::optional<int> platformId() override;
    std::uint32_t versionWord() override;
    int processorCount() override;
    // The idle times of the online processors of /proc/stat written as a
    // performance-data block stamped with MonotonicMs() past the Unix epoch.
    long queryPerformanceData(std::vector<std::uint8_t>& buffer, std::uint32_t& size) override;
    // There are no dynamic statistics keys here: opening one fails.
    std::optional<std::uintptr_t> openDynKey(const char* path, std::uint32_t access) override;
    std::optional<std::uint32_t> readDynValue(std::uintptr_t key, const char* name) override;
    void closeDynKey(std::uintptr_t key) override;
    std::optional<MemoryStatusEx> memoryStatusEx() override;
    // Filled from the extended figures, saturated at 4 GiB - 1.
    std::optional<MemoryStatus32> memoryStatus32() override;

    // Milliseconds of the monotonic clock, which stops in a suspend.
    static std::int64_t MonotonicMs();

private:
    // The kernel's version does not change while the program runs: read once,
    // not on every memory reading.
    static std::uint32_t readVersionWord();

    long m_clockTicks;
    std::uint32_t m_versionWord;
    std::string m_text;
    ProcFile m_stat{"/proc/stat"};
    ProcFile m_meminfo{"/proc/meminfo"};
    ProcFile m_statm{"/proc/self/statm"};
};
