#include "core/Main.h"

#include "platform/IAutostart.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>

std::string ReadTextFile(const std::string& path, std::size_t maxBytes) {
    std::string text;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        char chunk[4096];
        std::size_t read = 0;
        while (text.size() < maxBytes && (read = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
            text.append(chunk, std::min(read, maxBytes - text.size()));
        }
        std::fclose(file);
    }
    return text;
}

bool FileExists(const std::string& path) {
    // C streams: a C++ file stream brings up the library's locale machinery,
    // which a resident program would keep in memory for two checks at start-up.
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        return false;
    }
    char byte = 0;
    const bool read = std::fread(&byte, 1, 1, file) == 1;
    std::fclose(file);
    return read;
}

std::string AppFolderFrom(const std::string& programFolder) {
    const char separator = static_cast<char>(std::filesystem::path::preferred_separator);
    if (!programFolder.empty() && programFolder.back() == separator) {
        return programFolder;
    }
    return programFolder + separator;
}

namespace {

std::string_view trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

std::optional<double> parseDouble(std::string_view text) {
    text = trim(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<bool> ParseBool(std::string_view text) {
    const std::string_view trimmed = trim(text);
    if (equalsIgnoreCase(trimmed, "true")) {
        return true;
    }
    if (equalsIgnoreCase(trimmed, "false")) {
        return false;
    }
    if (const auto number = parseDouble(trimmed)) {
        return *number != 0.0;
    }
    return std::nullopt;
}

std::optional<std::int32_t> ParseInt32(std::string_view text) {
    const auto number = parseDouble(text);
    if (!number) {
        return std::nullopt;
    }
    const double rounded = std::nearbyint(*number);
    if (rounded < std::numeric_limits<std::int32_t>::min() ||
        rounded > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(rounded);
}

namespace {

struct Pattern {
    std::string prefix, suffix;
    int minInt = 0;
    int maxDecimals = 0;
    int minDecimals = 0;
    bool grouping = false;
    bool percent = false;
};

bool isNumberChar(char c) {
    return c == '0' || c == '#' || c == ',' || c == '.';
}

Pattern parsePattern(std::string_view text) {
    Pattern p;
    std::size_t i = 0;
    while (i < text.size() && text[i] != '0' && text[i] != '#' && text[i] != '.') {
        p.prefix += text[i++];
    }
    bool inDecimals = false;
    bool seenDigit = false;
    for (; i < text.size() && isNumberChar(text[i]); ++i) {
        const char c = text[i];
        if (c == '.') {
            if (inDecimals) {
                break;
            }
            inDecimals = true;
        } else if (c == ',') {
            if (!inDecimals && seenDigit) {
                p.grouping = true;
            }
        } else if (inDecimals) {
            ++p.maxDecimals;
            if (c == '0') {
                p.minDecimals = p.maxDecimals;
            }
        } else {
            seenDigit = true;
            if (c == '0') {
                ++p.minInt;
            }
        }
    }
    p.suffix = std::string(text.substr(i));
    p.percent = p.prefix.find('%') != std::string::npos || p.suffix.find('%') != std::string::npos;
    return p;
}

std::string groupDigits(const std::string& digits, const std::string& separator) {
    std::string out;
    const std::size_t n = digits.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) {
            out += separator;
        }
        out += digits[i];
    }
    return out;
}

} // namespace

std::string FormatNumber(double value, std::string_view patternText, const NumberSeparators& separators) {
    const Pattern p = parsePattern(patternText);
    if (p.percent) {
        value *= 100.0;
    }
    if (!std::isfinite(value)) {
        return p.prefix + "0" + p.suffix;
    }
    const bool negative = value < 0;
    // Round half away from zero at the last decimal place of the pattern, then
    // print the digits of the rounded magnitude without further rounding.
    const double scale = std::pow(10.0, p.maxDecimals);
    const double rounded = std::round(std::fabs(value) * scale);
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.0f", rounded);
    std::string digits = buffer;
    if (static_cast<int>(digits.size()) <= p.maxDecimals) {
        digits.insert(0, static_cast<std::size_t>(p.maxDecimals) + 1 - digits.size(), '0');
    }
    std::string intPart = digits.substr(0, digits.size() - static_cast<std::size_t>(p.maxDecimals));
    std::string decPart = digits.substr(digits.size() - static_cast<std::size_t>(p.maxDecimals));
    while (static_cast<int>(decPart.size()) > p.minDecimals && decPart.back() == '0') {
        decPart.pop_back();
    }
    intPart.erase(0, intPart.find_first_not_of('0'));
    if (static_cast<int>(intPart.size()) < p.minInt) {
        intPart.insert(0, static_cast<std::size_t>(p.minInt) - intPart.size(), '0');
    }
    std::string out = p.prefix;
    if (negative && rounded != 0.0) {
        out += '-';
    }
    out += p.grouping ? groupDigits(intPart, separators.group) : intPart;
    if (!decPart.empty()) {
        out += separators.decimal + decPart;
    }
    return out + p.suffix;
}

namespace {

bool isRunKey(std::uint32_t root, std::string_view keyPath) {
    return root == kHkeyCurrentUser && keyPath == kRunKeyPath;
}

} // namespace

bool SaveRegistryString(IAutostart& autostart, std::uint32_t root, std::string_view keyPath,
                        const std::string& valueName, std::string& value) {
    if (isRunKey(root, keyPath) && autostart.add(valueName, value)) {
        return true;
    }
    value.clear();
    return false;
}

void DeleteRegistryValue(IAutostart& autostart, std::uint32_t root, std::string_view keyPath,
                         const std::string& valueName) {
    if (isRunKey(root, keyPath)) {
        autostart.remove(valueName);
    }
}

std::string LowerAscii(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        out.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    }
    return out;
}
