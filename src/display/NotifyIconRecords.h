#pragma once
// The records a notification-area icon is described with on Windows, as
// bytes: the main window's ANSI record (280 bytes) and the wide record of the
// balloon icon class (936 bytes). Linux shows its icons through Qt, so only a
// Windows layer would hand these to the system; they are kept exact here so
// that layer has one tested encoder. Plain C++, little-endian, 32-bit handles.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// The fields both records start with, after their size.
struct IconRecordHeader {
    std::uint32_t window = 0;
    std::uint32_t identifier = 0;
    std::uint32_t flags = 0;
    std::uint32_t callbackMessage = 0;
    std::uint32_t icon = 0;
};

struct AnsiIconRecord {
    IconRecordHeader header;
    std::string tip; // single-byte text: left-aligned, blanks to 256
};
Bytes EncodeAnsiIconRecord(const AnsiIconRecord& record);

struct WideIconRecord {
    IconRecordHeader header{0, 0, 0, 512, 0};
    std::u16string tip;         // at most 127 characters and an end mark
    std::u16string balloonText; // at most 255
    std::uint32_t timeoutOrVersion = 0;
    std::u16string balloonTitle; // at most 63
    std::uint32_t balloonFlags = 0;
};
Bytes EncodeWideIconRecord(const WideIconRecord& record);

// The UTF-16 text of UTF-8 input cut to at most limit code units without
// splitting a surrogate pair (a character outside the basic plane).
std::u16string WideTextCut(std::string_view utf8, std::size_t limit);

// The balloon icon class's status texts; any other code gives an empty text.
std::string SystrayStatusText(std::int32_t code);
