#include "IfTableFormat.h"

#include <algorithm>

namespace {

std::uint32_t le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::int32_t sle32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(le32(p));
}

void appendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// UTF-16LE up to the first NUL or the end of the field; lone surrogates
// become U+FFFD.
std::string utf16Name(const std::uint8_t* p, std::size_t units) {
    std::string out;
    for (std::size_t i = 0; i < units; ++i) {
        std::uint32_t unit = p[2 * i] | (static_cast<std::uint32_t>(p[2 * i + 1]) << 8);
        if (unit == 0) {
            break;
        }
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units) {
            const std::uint32_t low = p[2 * i + 2] | (static_cast<std::uint32_t>(p[2 * i + 3]) << 8);
            if (low >= 0xDC00 && low < 0xE000) {
                appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        if (unit >= 0xD800 && unit < 0xE000) {
            unit = 0xFFFD;
        }
        appendUtf8(out, unit);
    }
    return out;
}

// The ANSI description, read as Latin-1; NULs inside the length are kept.
std::string ansiText(const std::uint8_t* p, std::size_t length) {
    std::string out;
    for (std::size_t i = 0; i < length; ++i) {
        appendUtf8(out, p[i]);
    }
    return out;
}

} // namespace

std::string FormatAdapterAddress(const std::uint8_t* bytes, std::size_t length) {
    static const char* const kHex = "0123456789ABCDEF";
    std::string out;
    out.reserve(24);
    const std::size_t n = std::min<std::size_t>(length, 8);
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t b = bytes[i];
        if (b == 0) {
            out += "00";
        } else {
            if (b >= 0x10) {
                out += kHex[b >> 4];
            }
            out += kHex[b & 0x0F];
        }
        out += '-';
    }
    if (!out.empty()) {
        out.pop_back();
    }
    return out;
}

std::vector<IfRow> DecodeIfTable(std::span<const std::uint8_t> buffer) {
    std::vector<IfRow> rows;
    if (buffer.size() < 4) {
        return rows;
    }
    const std::size_t claimed = le32(buffer.data());
    const std::size_t present = (buffer.size() - 4) / kIfRowSize;
    const std::size_t count = std::min(claimed, present);
    rows.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* r = buffer.data() + 4 + i * kIfRowSize;
        IfRow row;
        row.name = utf16Name(r, 256);
        row.index = sle32(r + 512);
        row.type = sle32(r + 516);
        row.mtu = sle32(r + 520);
        row.speed = sle32(r + 524); // the row's unsigned value taken as signed
        const std::size_t addressLength = std::min<std::size_t>(le32(r + 528), 8);
        row.address.assign(r + 532, r + 532 + addressLength);
        row.adminStatus = sle32(r + 540);
        row.operStatus = sle32(r + 544);
        row.lastChange = le32(r + 548);
        row.octetsIn = le32(r + 552);
        row.unicastIn = le32(r + 556);
        row.nonUnicastIn = le32(r + 560);
        row.discardsIn = le32(r + 564);
        row.errorsIn = le32(r + 568);
        row.unknownProtosIn = le32(r + 572);
        row.octetsOut = le32(r + 576);
        row.unicastOut = le32(r + 580);
        row.nonUnicastOut = le32(r + 584);
        row.discardsOut = le32(r + 588);
        row.errorsOut = le32(r + 592);
        row.outQueueLength = le32(r + 596);
        const std::size_t descriptionLength = std::min<std::size_t>(le32(r + 600), 256);
        row.description = ansiText(r + 604, descriptionLength);
        rows.push_back(std::move(row));
    }
    return rows;
}
