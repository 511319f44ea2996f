#include "CPULoad.h"

#include "platform/ISystemInfo.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
constexpr long kErrorMoreData = 234;
constexpr std::uint32_t kKeyAllAccess = 0xF003F;
constexpr std::uint32_t kKeyRead = 0x20019;
constexpr const char* kUsageValue = "KERNEL\\CPUUsage";
} // namespace

CPULoad::CPULoad(ISystemInfo& system) : m_system(system) {
    const auto platform = m_system.platformId();
    if (!platform) {
        raise(8001, "CPULoad.Initialize", "Can't get the Windows version");
    }
    m_IsNt = platform.value_or(0) == 2;
    m_CPUCount = -1;
    m_BufferSize = 4096;
}

CPULoad::~CPULoad() {
    StopStatistics();
}

void CPULoad::raise(std::uint32_t n, const char* source, const char* description) {
    m_lastError = CpuLoadError{0x80040000u + n, source, description};
    ++m_errorCount;
}

std::int32_t CPULoad::GetCPUCount() {
    if (m_CPUCount < 1) {
        m_CPUCount = m_system.processorCount();
        const std::size_t n = m_CPUCount > 0 ? static_cast<std::size_t>(m_CPUCount) : 0;
        m_PrevIdle.assign(n, 0);
        m_CurIdle.assign(n, 0);
        m_PrevListed.assign(n, false);
        m_CurListed.assign(n, false);
    }
    return m_CPUCount;
}

void CPULoad::CollectCPUData() {
    if (m_IsNt) {
        collectNt();
    } else {
        collect9x();
    }
}

void CPULoad::collectNt() {
    auto allocated = static_cast<std::uint32_t>(m_BufferSize);
    std::vector<std::uint8_t> buffer(allocated, 0);
    std::uint32_t size = allocated;
    long result = m_system.queryPerformanceData(buffer, size);
    while (result == kErrorMoreData) {
        allocated += 4096;
        buffer.assign(allocated, 0);
        m_BufferSize = static_cast<std::int32_t>(allocated);
        size = allocated;
        result = m_system.queryPerformanceData(buffer, size);
    }
    m_BufferSize = static_cast<std::int32_t>(allocated);

    // Only the data the query says it wrote is walked, and never more than
    // the buffer holds. A failed step abandons the sample: the previous
    // counters and time stay as they were.
    const std::size_t length = result == 0 ? std::min<std::size_t>(size, buffer.size()) : 0;
    const PerfWalk walk = WalkPerfData(std::span<const std::uint8_t>(buffer.data(), length));
    switch (walk.error) {
    case PerfWalk::Error::None:
        break;
    case PerfWalk::Error::BadSignature:
    case PerfWalk::Error::Truncated:
        raise(8006, "CPULoad.CollectCPUData()", "Unable to read performance data");
        return;
    case PerfWalk::Error::NoProcessorObject:
        raise(8004, "CPULoad.CollectData", "Unable to locate the 'Processor' performance object");
        return;
    case PerfWalk::Error::NoIdleCounter:
        GetCPUCount();
        raise(8005, "CPULoad.CollectData", "Unable to locate the '% of CPU usage' performance counter");
        return;
    }
    if (m_CPUCount < 1) {
        GetCPUCount();
    }
    m_PrevListed.swap(m_CurListed);
    std::fill(m_CurListed.begin(), m_CurListed.end(), false);
    for (const PerfWalk::Instance& instance : walk.instances) {
        if (instance.cpu >= 0 && instance.cpu < m_CPUCount) {
            const auto n = static_cast<std::size_t>(instance.cpu);
            m_PrevIdle[n] = m_CurIdle[n];
            m_CurIdle[n] = instance.idle;
            m_CurListed[n] = true;
        }
    }
    m_PrevTime = m_CurTime;
    m_CurTime = SystemTimeToFileTime(walk.time);
}

void CPULoad::collect9x() {
    if (!m_Started9x) {
        const auto start = m_system.openDynKey("PerfStats\\StartStat", kKeyAllAccess);
        if (!start) {
            raise(8002, "CPULoad.CollectCPRData()", "Unable to start performance monitoring");
        } else {
            if (const auto value = m_system.readDynValue(*start, kUsageValue)) {
                m_Usage9x = *value;
            }
            m_system.closeDynKey(*start);
        }
        const auto data = m_system.openDynKey("PerfStats\\StatData", kKeyRead);
        if (!data) {
            raise(8006, "CPULoad.CollectCPUData()", "Unable to read performance data");
        } else {
            m_StatDataKey = *data;
        }
        m_Started9x = true;
    }
    if (m_StatDataKey != 0) {
        if (const auto value = m_system.readDynValue(m_StatDataKey, kUsageValue)) {
            m_Usage9x = *value;
        }
    }
}

std::int32_t CPULoad::GetCPUUsage(std::int32_t index) {
    const std::int32_t n = index - 1;
    if (!m_IsNt) {
        if (n != 0) {
            raise(8003, "CPULoad.GetCPUUsage()", "CPU index out of bounds");
            return 0;
        }
        if (!m_Started9x) {
            CollectCPUData();
        }
        return static_cast<std::int32_t>(m_Usage9x);
    }
    if (m_CPUCount < 0) {
        CollectCPUData();
    }
    if (n < 0 || n >= m_CPUCount) {
        raise(8003, "CPULoad.GetCPUUsage()", "CPU index out of bounds");
        return 0;
    }
    if (m_CurTime == m_PrevTime || !listedTwice(static_cast<std::size_t>(n))) {
        return 0;
    }
    const auto idle = static_cast<std::int64_t>(m_CurIdle[static_cast<std::size_t>(n)] -
                                                m_PrevIdle[static_cast<std::size_t>(n)]);
    const auto time = static_cast<std::int64_t>(m_CurTime - m_PrevTime);
    const double usage = (1.0 - static_cast<double>(idle) / static_cast<double>(time)) * 100.0;
    // Rounded to nearest, ties to even; a figure that does not fit is 0.
    const double rounded = std::nearbyint(usage);
    if (!std::isfinite(rounded) || rounded < std::numeric_limits<std::int32_t>::min() ||
        rounded > std::numeric_limits<std::int32_t>::max()) {
        return 0;
    }
    return static_cast<std::int32_t>(rounded);
}

std::int32_t CPULoad::GetAllCPUUsage() {
    CollectCPUData();
    if (!m_IsNt) {
        // The 9x statistics give one figure for the whole machine.
        return GetCPUUsage(1);
    }
    std::int64_t sum = 0;
    std::int64_t listed = 0;
    for (std::int32_t i = 1; i <= m_CPUCount; ++i) {
        if (listedTwice(static_cast<std::size_t>(i - 1))) {
            sum += GetCPUUsage(i);
            ++listed;
        }
    }
    return listed > 0 ? static_cast<std::int32_t>(sum / listed) : 0;
}

bool CPULoad::listedTwice(std::size_t n) const {
    // The very first sample has no sample before it: it is measured against
    // zero counters like every processor's.
    return n < m_CurListed.size() && m_CurListed[n] && (m_PrevListed[n] || m_PrevTime == 0);
}

void CPULoad::StopStatistics() {
    if (m_IsNt || !m_Started9x) {
        return;
    }
    m_Started9x = false;
    if (m_StatDataKey != 0) {
        m_system.closeDynKey(m_StatDataKey);
    }
    m_StatDataKey = 0;
    const auto stop = m_system.openDynKey("PerfStats\\StopStat", kKeyAllAccess);
    if (!stop) {
        return;
    }
    if (const auto value = m_system.readDynValue(*stop, kUsageValue)) {
        m_Usage9x = *value;
    }
    m_system.closeDynKey(*stop);
}
