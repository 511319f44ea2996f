#pragma once
// Processor usage in percent from two successive samples of each
// processor's idle time (NT family), or the ready-made figure of the 9x
// family's dynamic statistics.
#include "platform/PerfData.h"

#include <cstdint>
#include <string>
#include <vector>

class ISystemInfo;

// The last error a routine recorded; routines go on after recording one.
struct CpuLoadError {
    std::uint32_t number = 0; // 0x80040000 + N
    std::string source;
    std::string description;
};

class CPULoad {
public:
    explicit CPULoad(ISystemInfo& system);
    ~CPULoad();
    CPULoad(const CPULoad&) = delete;
    CPULoad& operator=(const CPULoad&) = delete;

    bool IsNt() const { return m_IsNt; }
    // Takes one sample.
    void CollectCPUData();
    // Number of processors; sizes the per-processor arrays on first use.
    std::int32_t GetCPUCount();
    // Takes a sample and returns the average usage of the processors listed
    // in it.
    std::int32_t GetAllCPUUsage();
    // Usage of processor index (1-based) from the last two samples; 0 for a
    // processor that is not in both.
    std::int32_t GetCPUUsage(std::int32_t index);

    const CpuLoadError& LastError() const { return m_lastError; }
    std::uint32_t ErrorCount() const { return m_errorCount; }
    std::int32_t BufferSize() const { return m_BufferSize; }

private:
    void raise(std::uint32_t n, const char* source, const char* description);
    void collectNt();
    void collect9x();
    void StopStatistics();
    bool listedTwice(std::size_t n) const;

    ISystemInfo& m_system;
    std::int32_t m_CPUCount = -1;
    std::int32_t m_BufferSize = 4096;
    bool m_IsNt = false;
    bool m_Started9x = false;
    std::uint32_t m_Usage9x = 0;
    std::uintptr_t m_StatDataKey = 0;
    std::uint64_t m_CurTime = 0;
    std::uint64_t m_PrevTime = 0;
    std::vector<std::uint64_t> m_CurIdle;
    std::vector<std::uint64_t> m_PrevIdle;
    // Processors listed in the last and the sample before: an offline
    // processor is absent from the data, not idle, and counts for nothing.
    std::vector<bool> m_CurListed;
    std::vector<bool> m_PrevListed;
    CpuLoadError m_lastError;
    std::uint32_t m_errorCount = 0;
};
