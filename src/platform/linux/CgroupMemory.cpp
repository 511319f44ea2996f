#include "CgroupMemory.h"

#include <charconv>

namespace {

std::optional<std::int64_t> number(std::string_view text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
        text.remove_suffix(1);
    }
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::vector<CgroupFolder> CgroupMemoryFolders(std::string_view text, const std::string& root) {
    std::string v1;
    std::string v2;
    bool haveV1 = false;
    bool haveV2 = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        const std::size_t first = line.find(':');
        const std::size_t second = first == std::string_view::npos ? first : line.find(':', first + 1);
        if (second == std::string_view::npos) {
            continue;
        }
        const std::string_view controllers = line.substr(first + 1, second - first - 1);
        const std::string path(line.substr(second + 1));
        if (line.substr(0, first) == "0" && controllers.empty()) {
            v2 = path;
            haveV2 = true;
        }
        for (std::string_view rest = controllers; !rest.empty();) {
            const std::size_t comma = rest.find(',');
            if (rest.substr(0, comma) == "memory") {
                v1 = path;
                haveV1 = true;
            }
            rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        }
    }
    std::string path = haveV1 ? v1 : v2;
    if ((!haveV1 && !haveV2) || path.empty() || path.front() != '/' || path.find("..") != std::string::npos) {
        return {};
    }
    std::vector<CgroupFolder> folders;
    const std::string base = haveV1 ? root + "/memory" : root;
    while (true) {
        folders.push_back({base + (path == "/" ? std::string() : path), !haveV1});
        if (path == "/") {
            break;
        }
        const std::size_t slash = path.rfind('/');
        path = slash == 0 ? "/" : path.substr(0, slash);
    }
    return folders;
}

std::optional<std::int64_t> CgroupRoom(std::string_view limit, std::string_view usage) {
    const std::optional<std::int64_t> max = number(limit);
    const std::optional<std::int64_t> used = number(usage);
    // v1 writes "no limit" as the largest page-aligned number: anything near 2^63.
    if (!max || !used || *max >= (std::int64_t{1} << 62)) {
        return std::nullopt;
    }
    return *max - *used;
}
