#include "core/NumberFormat.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

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
