#pragma once
// Parsers of the /proc text files the Linux layer reads. They take the text,
// never a path, and never read outside it.
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

// Idle time (idle + iowait) of one processor, in clock ticks.
struct CpuIdleTicks {
    std::int32_t cpu = 0; // the number of its "cpuN" line
    std::uint64_t ticks = 0;
    bool operator==(const CpuIdleTicks&) const = default;
};
// The processors /proc/stat lists, in its order. Offline processors are not
// listed, and are not in the result: they are not idle, they are absent.
// std::nullopt when no "cpuN" line is found.
std::optional<std::vector<CpuIdleTicks>> ParseProcStatIdle(std::string_view text);

// The fields of /proc/meminfo the memory status needs, in bytes.
struct MemInfo {
    std::uint64_t memTotal = 0, memAvailable = 0, swapTotal = 0, swapFree = 0;
};
// std::nullopt when MemTotal or MemAvailable is missing.
std::optional<MemInfo> ParseMemInfo(std::string_view text);

// The size of the process in pages: the first field of /proc/self/statm.
std::optional<std::uint64_t> ParseStatmSize(std::string_view text);

// The inodes of the listening sockets /proc/net/unix lists at one of the
// paths (an abstract name written with a leading "@").
std::set<std::uint64_t> ListeningSocketInodes(std::string_view text, const std::set<std::string>& paths);
