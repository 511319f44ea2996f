#include "PerfData.h"

#include <cctype>
#include <limits>
#include <optional>

namespace {

constexpr std::size_t kDataBlockSize = 84;
constexpr std::size_t kObjectSize = 64;
constexpr std::size_t kCounterDefSize = 40;
constexpr std::size_t kInstanceDefSize = 24;
constexpr std::size_t kCounterBlockSize = 4;

// Bounds-checked little-endian reads over the received data.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> data) : m_data(data) {}
    bool has(std::uint64_t offset, std::uint64_t length) const {
        return offset <= m_data.size() && length <= m_data.size() - offset;
    }
    std::uint32_t u32(std::uint64_t offset) const {
        const std::uint8_t* p = m_data.data() + offset;
        return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
               (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    }
    std::uint16_t u16(std::uint64_t offset) const {
        return static_cast<std::uint16_t>(m_data[offset] | (m_data[offset + 1] << 8));
    }
    std::uint64_t u64(std::uint64_t offset) const {
        return u32(offset) | (static_cast<std::uint64_t>(u32(offset + 4)) << 32);
    }

private:
    std::span<const std::uint8_t> m_data;
};

// Instance names are decimal processor numbers; the total and anything else
// that is not a plain number is skipped.
std::optional<std::int32_t> numericName(const Reader& r, std::uint64_t offset, std::uint64_t bytes) {
    std::int64_t value = 0;
    bool digits = false;
    bool trailing = false;
    for (std::uint64_t i = 0; i + 1 < bytes; i += 2) {
        const std::uint16_t c = r.u16(offset + i);
        if (c == ' ' && !digits) {
            continue;
        }
        if (c == ' ' && digits) {
            trailing = true;
            continue;
        }
        if (c < '0' || c > '9' || trailing) {
            return std::nullopt;
        }
        digits = true;
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<std::int32_t>::max()) {
            return std::nullopt;
        }
    }
    if (!digits) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

// Walks count headers of at least size bytes from position, each followed by
// the next at the distance its first field gives, to the one whose field at
// indexOffset is wanted. Sets truncated when a header lies outside the data.
std::optional<std::uint64_t> findHeader(const Reader& r, std::uint64_t position, std::uint32_t count,
                                        std::size_t size, std::size_t indexOffset, std::uint32_t wanted,
                                        bool& truncated) {
    for (std::uint32_t i = 0; i < count; ++i) {
        if (!r.has(position, size)) {
            truncated = true;
            return std::nullopt;
        }
        if (r.u32(position + indexOffset) == wanted) {
            return position;
        }
        const std::uint32_t step = r.u32(position);
        if (step == 0) {
            break; // the same header again and again: it is not there
        }
        position += step;
    }
    return std::nullopt;
}

std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

constexpr std::int64_t kDaysFrom1601To1970 = 134774;
constexpr std::uint64_t kTicksPerSecond = 10000000;

void put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}
void put64(std::vector<std::uint8_t>& b, std::size_t at, std::uint64_t v) {
    put32(b, at, static_cast<std::uint32_t>(v));
    put32(b, at + 4, static_cast<std::uint32_t>(v >> 32));
}

} // namespace

std::uint64_t SystemTimeToFileTime(const SystemTime& t) {
    if (t.year < 1601 || t.year > 30827 || t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 ||
        t.hour > 23 || t.minute > 59 || t.second > 59 || t.milliseconds > 999) {
        return 0;
    }
    const std::int64_t days = daysFromCivil(t.year, t.month, t.day) + kDaysFrom1601To1970;
    const std::uint64_t seconds = static_cast<std::uint64_t>(days) * 86400 + std::uint64_t{t.hour} * 3600 +
                                  std::uint64_t{t.minute} * 60 + t.second;
    return seconds * kTicksPerSecond + static_cast<std::uint64_t>(t.milliseconds) * 10000;
}

SystemTime FileTimeToSystemTime(std::uint64_t fileTime) {
    const std::uint64_t ms = fileTime / 10000;
    std::int64_t days = static_cast<std::int64_t>(ms / 86400000) - kDaysFrom1601To1970;
    const std::uint64_t msOfDay = ms % 86400000;
    SystemTime t;
    // civil_from_days
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(days - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    t.year = static_cast<std::uint16_t>(static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2 ? 1 : 0));
    t.month = static_cast<std::uint16_t>(m);
    t.day = static_cast<std::uint16_t>(d);
    t.hour = static_cast<std::uint16_t>(msOfDay / 3600000);
    t.minute = static_cast<std::uint16_t>(msOfDay / 60000 % 60);
    t.second = static_cast<std::uint16_t>(msOfDay / 1000 % 60);
    t.milliseconds = static_cast<std::uint16_t>(msOfDay % 1000);
    return t;
}

PerfWalk WalkPerfData(std::span<const std::uint8_t> data) {
    PerfWalk walk;
    const Reader r(data);
    if (!r.has(0, kDataBlockSize) || r.u16(0) != 'P' || r.u16(2) != 'E' || r.u16(4) != 'R' ||
        r.u16(6) != 'F') {
        walk.error = PerfWalk::Error::BadSignature;
        return walk;
    }
    walk.time =
        SystemTime{r.u16(36), r.u16(38), r.u16(40), r.u16(42), r.u16(44), r.u16(46), r.u16(48), r.u16(50)};

    // Objects, then the Processor object's counter definitions.
    bool truncated = false;
    const auto object =
        findHeader(r, r.u32(24), r.u32(28), kObjectSize, 12, kProcessorObjectIndex, truncated);
    if (!object) {
        walk.error = truncated ? PerfWalk::Error::Truncated : PerfWalk::Error::NoProcessorObject;
        return walk;
    }
    const auto counter = findHeader(r, *object + r.u32(*object + 8), r.u32(*object + 32), kCounterDefSize, 4,
                                    kProcessorTimeCounterIndex, truncated);
    if (!counter) {
        walk.error = truncated ? PerfWalk::Error::Truncated : PerfWalk::Error::NoIdleCounter;
        return walk;
    }
    const std::uint32_t counterOffset = r.u32(*counter + 36);

    // Instances: definition, name, counter block, next instance.
    std::uint64_t position = *object + r.u32(*object + 4);
    const auto instanceCount = static_cast<std::int32_t>(r.u32(*object + 40));
    for (std::int32_t i = 0; i < instanceCount; ++i) {
        if (!r.has(position, kInstanceDefSize)) {
            walk.error = PerfWalk::Error::Truncated;
            return walk;
        }
        const std::uint64_t nameAt = position + r.u32(position + 16);
        const std::uint32_t nameLength = r.u32(position + 20);
        const std::uint64_t nameBytes = nameLength >= 2 ? nameLength - 2u : 0u;
        if (!r.has(nameAt, nameBytes)) {
            walk.error = PerfWalk::Error::Truncated;
            return walk;
        }
        const std::optional<std::int32_t> cpu = numericName(r, nameAt, nameBytes);
        const std::uint32_t definitionLength = r.u32(position);
        position += definitionLength;
        if (!r.has(position, kCounterBlockSize)) {
            walk.error = PerfWalk::Error::Truncated;
            return walk;
        }
        const std::uint32_t blockLength = r.u32(position);
        if (cpu) {
            if (!r.has(position + counterOffset, 8)) {
                walk.error = PerfWalk::Error::Truncated;
                return walk;
            }
            walk.instances.push_back({*cpu, r.u64(position + counterOffset)});
        }
        if (definitionLength == 0 && blockLength == 0) {
            walk.error = PerfWalk::Error::Truncated; // would read the same instance for ever
            return walk;
        }
        position += blockLength;
    }
    return walk;
}

std::vector<std::uint8_t> BuildPerfData(const SystemTime& time, const std::vector<std::uint64_t>& idle) {
    std::vector<PerfWalk::Instance> instances;
    for (std::size_t i = 0; i < idle.size(); ++i) {
        instances.push_back({static_cast<std::int32_t>(i), idle[i]});
    }
    return BuildPerfData(time, instances);
}

std::vector<std::uint8_t> BuildPerfData(const SystemTime& time,
                                        const std::vector<PerfWalk::Instance>& instances) {
    constexpr std::size_t kHeader = 88;
    std::vector<std::string> names;
    std::vector<std::uint64_t> idle;
    for (const PerfWalk::Instance& instance : instances) {
        names.push_back(std::to_string(instance.cpu));
        idle.push_back(instance.idle);
    }
    names.emplace_back("_Total");
    auto instanceSize = [](const std::string& name) {
        const std::size_t nameBytes = (name.size() + 1) * 2;
        return kInstanceDefSize + ((nameBytes + 7) / 8) * 8;
    };
    constexpr std::size_t kCounterBlock = 16;
    std::size_t objectLength = kObjectSize + kCounterDefSize;
    for (const auto& name : names) {
        objectLength += instanceSize(name) + kCounterBlock;
    }
    std::vector<std::uint8_t> b(kHeader + objectLength, 0);
    put16(b, 0, 'P');
    put16(b, 2, 'E');
    put16(b, 4, 'R');
    put16(b, 6, 'F');
    put32(b, 8, 1);  // little endian
    put32(b, 12, 1); // version
    put32(b, 20, static_cast<std::uint32_t>(b.size()));
    put32(b, 24, kHeader);
    put32(b, 28, 1);
    put32(b, 32, kProcessorObjectIndex);
    const std::uint16_t fields[8] = {time.year, time.month,  time.dayOfWeek, time.day,
                                     time.hour, time.minute, time.second,    time.milliseconds};
    for (std::size_t i = 0; i < 8; ++i) {
        put16(b, 36 + 2 * i, fields[i]);
    }

    const std::size_t object = kHeader;
    put32(b, object + 0, static_cast<std::uint32_t>(objectLength));
    put32(b, object + 4, static_cast<std::uint32_t>(kObjectSize + kCounterDefSize));
    put32(b, object + 8, static_cast<std::uint32_t>(kObjectSize));
    put32(b, object + 12, kProcessorObjectIndex);
    put32(b, object + 32, 1);
    put32(b, object + 40, static_cast<std::uint32_t>(names.size()));

    const std::size_t counter = object + kObjectSize;
    put32(b, counter + 0, static_cast<std::uint32_t>(kCounterDefSize));
    put32(b, counter + 4, kProcessorTimeCounterIndex);
    put32(b, counter + 28, 0x20570500); // inverse 100 ns timer
    put32(b, counter + 32, 8);
    put32(b, counter + 36, 8);

    std::size_t position = counter + kCounterDefSize;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string& name = names[i];
        const std::size_t size = instanceSize(name);
        put32(b, position + 0, static_cast<std::uint32_t>(size));
        put32(b, position + 16, static_cast<std::uint32_t>(kInstanceDefSize));
        put32(b, position + 20, static_cast<std::uint32_t>((name.size() + 1) * 2));
        for (std::size_t c = 0; c < name.size(); ++c) {
            put16(b, position + kInstanceDefSize + 2 * c, static_cast<std::uint8_t>(name[c]));
        }
        position += size;
        put32(b, position, kCounterBlock);
        std::uint64_t value = 0;
        if (i < idle.size()) {
            value = idle[i];
        } else {
            for (const std::uint64_t v : idle) {
                value += v;
            }
        }
        put64(b, position + 8, value);
        position += kCounterBlock;
    }
    return b;
}
