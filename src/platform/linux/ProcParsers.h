#pragma once
// Parsers of the /proc text files the Linux layer reads. They take the text,
// never a path, and never read outside it.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// Per-processor idle time (idle + iowait) from /proc/stat, in clock ticks,
// indexed by the processor number of each "cpuN" line. Processors missing
// from the text (offline) are 0. std::nullopt when no "cpuN" line is found.
std::optional<std::vector<std::uint64_t>> ParseProcStatIdle(std::string_view text);

// The fields of /proc/meminfo the memory status needs, in bytes.
struct MemInfo {
    std::uint64_t memTotal = 0, memAvailable = 0, swapTotal = 0, swapFree = 0;
};
// std::nullopt when MemTotal or MemAvailable is missing.
std::optional<MemInfo> ParseMemInfo(std::string_view text);

// The size of the process in pages: the first field of /proc/self/statm.
std::optional<std::uint64_t> ParseStatmSize(std::string_view text);
