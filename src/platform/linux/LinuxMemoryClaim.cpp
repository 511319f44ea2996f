#include "LinuxMemoryClaim.h"

#include "OomScore.h"

#include "CgroupMemory.h"
#include "FileReader.h"
#include "ProcParsers.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

bool writeFile(const char* path, const std::string& text) {
    const UniqueFd fd(::open(path, O_WRONLY | O_CLOEXEC));
    return fd.valid() && ::write(fd.get(), text.data(), text.size()) == static_cast<ssize_t>(text.size());
}

} // namespace

LinuxMemoryClaim::LinuxMemoryClaim(std::string cgroupRoot) : m_cgroupRoot(std::move(cgroupRoot)) {}

LinuxMemoryClaim::~LinuxMemoryClaim() {
    releaseAll();
    offerAsFirstVictim(false);
}

bool LinuxMemoryClaim::claim(std::int64_t bytes) {
    if (bytes <= 0) {
        return false;
    }
    const auto size = static_cast<std::size_t>(bytes);
    void* address = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (address == MAP_FAILED) {
        return false;
    }
    // Written, not only mapped: an untouched mapping takes no RAM from anyone.
    std::memset(address, ' ', size);
    m_blocks.push_back({address, size});
    m_claimed += bytes;
    return true;
}

void LinuxMemoryClaim::releaseAll() {
    for (const Block& block : m_blocks) {
        ::munmap(block.address, block.size);
    }
    m_blocks.clear();
    m_claimed = 0;
}

std::int64_t LinuxMemoryClaim::availableBytes() {
    std::string text;
    std::int64_t available = 0;
    if (ReadSmallFile("/proc/meminfo", text)) {
        if (const auto info = ParseMemInfo(text)) {
            available = static_cast<std::int64_t>(info->memAvailable);
        }
    }
    if (ReadSmallFile("/proc/self/cgroup", text)) {
        for (const CgroupFolder& folder : CgroupMemoryFolders(text, m_cgroupRoot)) {
            const std::string limit = folder.path + (folder.v2 ? "/memory.max" : "/memory.limit_in_bytes");
            const std::string usage =
                folder.path + (folder.v2 ? "/memory.current" : "/memory.usage_in_bytes");
            if (const auto room = CgroupRoom(ReadWordFile(limit), ReadWordFile(usage))) {
                available = std::min(available, *room);
            }
        }
    }
    return available;
}

void LinuxMemoryClaim::offerAsFirstVictim(bool on) {
    if (on && m_previousScore.empty()) {
        m_previousScore = ReadWordFile("/proc/self/oom_score_adj");
        SetOrdinaryOomScore(m_previousScore);
        writeFile("/proc/self/oom_score_adj", "1000");
    } else if (!on && !m_previousScore.empty()) {
        // Going back down to the value the process had is allowed without privileges.
        writeFile("/proc/self/oom_score_adj", m_previousScore);
        m_previousScore.clear();
        SetOrdinaryOomScore({});
    }
}
