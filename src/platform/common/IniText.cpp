#include "IniText.h"

#include <cstdint>
#include <cstdio>

namespace {

bool plainKeyChar(char32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '.';
}

constexpr char32_t kInvalid = 0x110000; // beyond Unicode: not UTF-8

// Decodes one UTF-8 sequence at text[i], advancing i; kInvalid for a bad one.
char32_t nextCodePoint(std::string_view text, std::size_t& i) {
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(i);
    int length = lead < 0x80           ? 1
                 : (lead >> 5) == 0x6  ? 2
                 : (lead >> 4) == 0xE  ? 3
                 : (lead >> 3) == 0x1E ? 4
                                       : 0;
    if (length == 0 || i + static_cast<std::size_t>(length) > text.size()) {
        ++i;
        return kInvalid;
    }
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        const unsigned char next = byte(i + static_cast<std::size_t>(k));
        if ((next & 0xC0) != 0x80) {
            ++i;
            return kInvalid;
        }
        c = (c << 6) | (next & 0x3F);
    }
    i += static_cast<std::size_t>(length);
    return c;
}

std::string escapedKey(std::string_view key) {
    std::string out;
    char buffer[16];
    for (std::size_t i = 0; i < key.size();) {
        char32_t c = nextCodePoint(key, i);
        if (c == kInvalid) {
            c = 0xFFFD;
        }
        if (plainKeyChar(c)) {
            out += static_cast<char>(c);
        } else if (c <= 0xFF) {
            std::snprintf(buffer, sizeof buffer, "%%%02X", static_cast<unsigned>(c));
            out += buffer;
        } else {
            // QSettings writes UTF-16 units; characters beyond them are written as their pair.
            auto unit = [&](unsigned u) {
                std::snprintf(buffer, sizeof buffer, "%%U%04X", u);
                out += buffer;
            };
            if (c > 0xFFFF) {
                unit(0xD800 + ((static_cast<unsigned>(c) - 0x10000) >> 10));
                unit(0xDC00 + ((static_cast<unsigned>(c) - 0x10000) & 0x3FF));
            } else {
                unit(static_cast<unsigned>(c));
            }
        }
    }
    return out;
}

bool plainValueChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '.' || c == ':' || c == '/' || c == '+' || c == ' ';
}

std::string escapedValue(std::string_view value) {
    std::string text;
    // A leading "@" marks QSettings' own encodings; "@@" stands for one.
    if (!value.empty() && value.front() == '@') {
        text = "@";
    }
    bool plain = !value.empty() && value.front() != ' ' && value.back() != ' ';
    for (const char c : value) {
        plain = plain && plainValueChar(c);
    }
    if (plain) {
        return text + std::string(value);
    }
    std::string quoted = "\"" + text;
    for (const char c : value) {
        switch (c) {
        case '"':
            quoted += "\\\"";
            break;
        case '\\':
            quoted += "\\\\";
            break;
        case '\n':
            quoted += "\\n";
            break;
        case '\r':
            quoted += "\\r";
            break;
        case '\t':
            quoted += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) {
                quoted += c;
            }
        }
    }
    return quoted + "\"";
}

} // namespace

std::string FormatIni(const std::vector<IniEntry>& entries) {
    std::vector<std::string> sections;
    for (const IniEntry& entry : entries) {
        bool known = false;
        for (const std::string& section : sections) {
            known = known || section == entry.section;
        }
        if (!known) {
            sections.push_back(entry.section);
        }
    }
    std::string text;
    for (const std::string& section : sections) {
        if (!text.empty()) {
            text += '\n';
        }
        // Appended piece by piece: GCC 12 at -O3 warns wrongly about "[" + string.
        text += '[';
        text += escapedKey(section);
        text += "]\n";
        for (const IniEntry& entry : entries) {
            if (entry.section == section) {
                text += escapedKey(entry.key) + "=" + escapedValue(entry.value) + "\n";
            }
        }
    }
    return text;
}

bool LooksLikeIni(std::string_view text) {
    std::size_t i = 0;
    std::size_t lineStart = 0;
    bool hasEquals = false;
    auto lineOk = [&](std::size_t end) {
        std::string_view line = text.substr(lineStart, end - lineStart);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
            line.remove_prefix(1);
        }
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r')) {
            line.remove_suffix(1);
        }
        return line.empty() || line.front() == ';' || line.front() == '#' ||
               (line.front() == '[' && line.back() == ']') || hasEquals;
    };
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\0') {
            return false;
        }
        if (c == '\n') {
            if (!lineOk(i)) {
                return false;
            }
            ++i;
            lineStart = i;
            hasEquals = false;
            continue;
        }
        hasEquals = hasEquals || c == '=';
        if (nextCodePoint(text, i) == kInvalid) {
            return false; // not UTF-8
        }
    }
    return lineOk(text.size());
}
