#include "LinuxSystemInfo.h"

#include "FileReader.h"
#include "ProcParsers.h"
#include "platform/PerfData.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstring>
#include <sys/resource.h>
#include <sys/utsname.h>
#include <unistd.h>

namespace {
constexpr long kErrorMoreData = 234;
constexpr long kErrorReadFault = 30;
constexpr std::uint64_t kUserAddressSpace = 1ULL << 47;
} // namespace

std::int64_t LinuxSystemInfo::MonotonicMs() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
}

LinuxSystemInfo::LinuxSystemInfo()
    : m_clockTicks(std::max(1L, ::sysconf(_SC_CLK_TCK))), m_versionWord(readVersionWord()) {
    m_text.reserve(16384);
}

std::optional<int> LinuxSystemInfo::platformId() {
    return 2;
}

std::uint32_t LinuxSystemInfo::versionWord() {
    return m_versionWord;
}

std::uint32_t LinuxSystemInfo::readVersionWord() {
    // Major and minor kernel version in the low bytes; high bit clear (NT-like).
    utsname name{};
    if (::uname(&name) != 0) {
        return 0;
    }
    unsigned major = 0;
    unsigned minor = 0;
    const char* end = name.release + std::strlen(name.release);
    const auto first = std::from_chars(name.release, end, major);
    if (first.ptr < end && *first.ptr == '.') {
        std::from_chars(first.ptr + 1, end, minor);
    }
    return (major & 0xFF) | ((minor & 0xFF) << 8);
}

int LinuxSystemInfo::processorCount() {
    return static_cast<int>(std::max(1L, ::sysconf(_SC_NPROCESSORS_CONF)));
}

long LinuxSystemInfo::queryPerformanceData(std::vector<std::uint8_t>& buffer, std::uint32_t& size) {
    if (!m_stat.read(m_text)) {
        return kErrorReadFault;
    }
    const auto ticks = ParseProcStatIdle(m_text);
    if (!ticks) {
        return kErrorReadFault;
    }
    std::vector<PerfWalk::Instance> idle;
    idle.reserve(ticks->size());
    for (const CpuIdleTicks& cpu : *ticks) {
        idle.push_back({cpu.cpu, cpu.ticks * 10000000ULL / static_cast<std::uint64_t>(m_clockTicks)});
    }
    // The time stamp comes from the monotonic clock: like the idle counters it
    // stands still in a suspend and ignores clock corrections, so the first
    // sample after a resume or a clock step compares like with like.
    const auto ms = MonotonicMs();
    const std::uint64_t fileTime = static_cast<std::uint64_t>(ms) * 10000 + kUnixEpochFileTime;
    const std::vector<std::uint8_t> block = BuildPerfData(FileTimeToSystemTime(fileTime), idle);
    if (block.size() > size || block.size() > buffer.size()) {
        size = static_cast<std::uint32_t>(block.size());
        return kErrorMoreData;
    }
    std::memcpy(buffer.data(), block.data(), block.size());
    size = static_cast<std::uint32_t>(block.size());
    return 0;
}

std::optional<std::uintptr_t> LinuxSystemInfo::openDynKey(const char*, std::uint32_t) {
    return std::nullopt;
}
std::optional<std::uint32_t> LinuxSystemInfo::readDynValue(std::uintptr_t, const char*) {
    return std::nullopt;
}
void LinuxSystemInfo::closeDynKey(std::uintptr_t) {}

std::optional<MemoryStatusEx> LinuxSystemInfo::memoryStatusEx() {
    if (!m_meminfo.read(m_text)) {
        return std::nullopt;
    }
    const auto info = ParseMemInfo(m_text);
    if (!info) {
        return std::nullopt;
    }
    MemoryStatusEx status;
    status.totalPhys = info->memTotal;
    status.availPhys = std::min(info->memAvailable, info->memTotal);
    if (status.totalPhys > 0) {
        const std::uint64_t used = status.totalPhys - status.availPhys;
        status.memoryLoad =
            static_cast<std::uint32_t>((used * 100 + status.totalPhys / 2) / status.totalPhys);
    }
    status.totalPageFile = info->memTotal + info->swapTotal;
    status.availPageFile = status.availPhys + info->swapFree;

    std::uint64_t space = kUserAddressSpace;
    rlimit limit{};
    if (::getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
        space = std::min<std::uint64_t>(space, limit.rlim_cur);
    }
    status.totalVirtual = space;
    status.availVirtual = space;
    if (m_statm.read(m_text, 4096)) {
        if (const auto pages = ParseStatmSize(m_text)) {
            const std::uint64_t used = *pages * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
            status.availVirtual = used < space ? space - used : 0;
        }
    }
    return status;
}

std::optional<MemoryStatus32> LinuxSystemInfo::memoryStatus32() {
    const auto ex = memoryStatusEx();
    if (!ex) {
        return std::nullopt;
    }
    auto narrow = [](std::uint64_t v) {
        return static_cast<std::uint32_t>(std::min<std::uint64_t>(v, 0xFFFFFFFFu));
    };
    return MemoryStatus32{ex->memoryLoad,
                          narrow(ex->totalPhys),
                          narrow(ex->availPhys),
                          narrow(ex->totalPageFile),
                          narrow(ex->availPageFile),
                          narrow(ex->totalVirtual),
                          narrow(ex->availVirtual)};
}
