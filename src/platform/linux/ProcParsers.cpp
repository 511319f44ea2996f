#include "ProcParsers.h"

#include <algorithm>
#include <charconv>

namespace {

constexpr std::size_t kMaxCpus = 8192;

std::string_view nextLine(std::string_view& text) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    return line;
}

// Reads the next unsigned number after blanks; std::nullopt at the end of the line.
std::optional<std::uint64_t> nextNumber(std::string_view& line) {
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
        line.remove_prefix(1);
    }
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), value);
    if (error != std::errc()) {
        return std::nullopt;
    }
    line.remove_prefix(static_cast<std::size_t>(end - line.data()));
    return value;
}

} // namespace

std::optional<std::vector<CpuIdleTicks>> ParseProcStatIdle(std::string_view text) {
    std::vector<CpuIdleTicks> idle;
    bool found = false;
    while (!text.empty()) {
        std::string_view line = nextLine(text);
        if (line.size() < 4 || line.substr(0, 3) != "cpu" || line[3] < '0' || line[3] > '9') {
            continue;
        }
        line.remove_prefix(3);
        std::size_t cpu = 0;
        const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), cpu);
        if (error != std::errc() || cpu >= kMaxCpus) {
            continue;
        }
        line.remove_prefix(static_cast<std::size_t>(end - line.data()));
        // user nice system idle iowait ...
        std::uint64_t fields[5] = {};
        int read = 0;
        for (; read < 5; ++read) {
            const auto value = nextNumber(line);
            if (!value) {
                break;
            }
            fields[read] = *value;
        }
        if (read < 4) {
            continue;
        }
        idle.push_back({static_cast<std::int32_t>(cpu), fields[3] + fields[4]});
        found = true;
    }
    if (!found) {
        return std::nullopt;
    }
    return idle;
}

std::optional<MemInfo> ParseMemInfo(std::string_view text) {
    MemInfo info;
    bool total = false;
    bool available = false;
    int found = 0;
    while (!text.empty() && found < 4) {
        std::string_view line = nextLine(text);
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) {
            continue;
        }
        const std::string_view key = line.substr(0, colon);
        std::string_view rest = line.substr(colon + 1);
        const auto value = nextNumber(rest);
        if (!value || *value > UINT64_MAX / 1024) {
            continue;
        }
        const std::uint64_t bytes = rest.find("kB") != std::string_view::npos ? *value * 1024 : *value;
        if (key == "MemTotal") {
            info.memTotal = bytes;
            total = true;
        } else if (key == "MemAvailable") {
            info.memAvailable = bytes;
            available = true;
        } else if (key == "SwapTotal") {
            info.swapTotal = bytes;
        } else if (key == "SwapFree") {
            info.swapFree = bytes;
        } else {
            continue;
        }
        ++found;
    }
    if (!total || !available) {
        return std::nullopt;
    }
    return info;
}

std::optional<std::uint64_t> ParseStatmSize(std::string_view text) {
    return nextNumber(text);
}

std::set<std::uint64_t> ListeningSocketInodes(std::string_view text, const std::set<std::string>& paths) {
    // "Num RefCount Protocol Flags Type St Inode Path", one socket a line;
    // a listening socket's flags have __SO_ACCEPTCON (0x10000).
    constexpr std::uint64_t kAcceptConnections = 0x10000;
    std::set<std::uint64_t> inodes;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        std::string_view fields[8];
        int count = 0;
        while (count < 8) {
            const std::size_t start = line.find_first_not_of(' ');
            if (start == std::string_view::npos) {
                break;
            }
            line.remove_prefix(start);
            const std::size_t stop = count == 7 ? line.size() : std::min(line.find(' '), line.size());
            fields[count++] = line.substr(0, stop);
            line.remove_prefix(stop);
        }
        std::uint64_t flags = 0;
        std::uint64_t inode = 0;
        if (count < 8 ||
            std::from_chars(fields[3].data(), fields[3].data() + fields[3].size(), flags, 16).ec !=
                std::errc() ||
            std::from_chars(fields[6].data(), fields[6].data() + fields[6].size(), inode).ec != std::errc()) {
            continue; // the heading, or a socket with no name
        }
        if ((flags & kAcceptConnections) != 0 && paths.count(std::string(fields[7])) > 0) {
            inodes.insert(inode);
        }
    }
    return inodes;
}
