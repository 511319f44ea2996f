#pragma once
// The Windows performance-data block (32-bit layout, little-endian): a walk
// that finds the Processor object's idle counters, and a writer used to carry
// counters from other sources in the same form.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// A SYSTEMTIME: calendar fields of a UTC time.
struct SystemTime {
    std::uint16_t year = 0, month = 0, dayOfWeek = 0, day = 0;
    std::uint16_t hour = 0, minute = 0, second = 0, milliseconds = 0;
};

// 100 ns units since 1601-01-01, or 0 when a field is out of range.
std::uint64_t SystemTimeToFileTime(const SystemTime& time);
SystemTime FileTimeToSystemTime(std::uint64_t fileTime);

// The Unix epoch, 1970-01-01, in 100 ns units since 1601-01-01.
inline constexpr std::uint64_t kUnixEpochFileTime = 116444736000000000ULL;

inline constexpr std::uint32_t kProcessorObjectIndex = 238;
inline constexpr std::uint32_t kProcessorTimeCounterIndex = 6;

struct PerfWalk {
    enum class Error {
        None,
        BadSignature,      // not a "PERF" block (or shorter than its header)
        NoProcessorObject, // no object 238 among the objects
        NoIdleCounter,     // the object has no counter 6
        Truncated,         // a header or counter lies outside the data
    };
    struct Instance {
        std::int32_t cpu;   // the instance's numeric name
        std::uint64_t idle; // accumulated idle time, 100 ns
    };
    Error error = Error::None;
    SystemTime time;
    std::vector<Instance> instances; // numeric instances only, in block order
};

// Walks a block. Never reads outside data; on an error the walk stops and the
// result carries what was found before it.
PerfWalk WalkPerfData(std::span<const std::uint8_t> data);

// Writes a block with one Processor object holding one instance per idle
// counter (named "0", "1", ...) and a "_Total" instance.
std::vector<std::uint8_t> BuildPerfData(const SystemTime& time, const std::vector<std::uint64_t>& idle);
// The same with the instances named by their processor numbers, which may
// have gaps (offline processors are absent).
std::vector<std::uint8_t> BuildPerfData(const SystemTime& time,
                                        const std::vector<PerfWalk::Instance>& instances);
