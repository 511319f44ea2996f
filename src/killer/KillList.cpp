#include "killer/KillList.h"

#include <algorithm>
#include <cctype>

namespace {

char lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

} // namespace

std::vector<std::string> KillListEntries(std::string_view text) {
    std::vector<std::string> entries;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end);
        if (text.size() >= 2 && text[0] == '\r' && text[1] == '\n') {
            text.remove_prefix(2);
        } else if (!text.empty()) {
            text.remove_prefix(1);
        }
        while (!line.empty() && line.front() == ' ') {
            line.remove_prefix(1);
        }
        while (!line.empty() && line.back() == ' ') {
            line.remove_suffix(1);
        }
        if (!line.empty() && line.front() != ';') {
            entries.emplace_back(line);
        }
    }
    return entries;
}

std::string KillMenuCaption(std::string_view text) {
    const std::vector<std::string> entries = KillListEntries(text);
    return entries.empty() ? std::string("Kill Processes") : "Kill " + entries.front();
}

std::string EntryPattern(std::string_view entry, std::string_view executableSuffix) {
    std::string pattern;
    for (const char c : entry) {
        pattern.push_back(lower(c));
    }
    if (pattern.find_first_of("*.") == std::string::npos) {
        for (const char c : executableSuffix) {
            pattern.push_back(lower(c));
        }
    }
    return pattern;
}
