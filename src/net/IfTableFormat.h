#pragma once
// The Windows interface-table format (a 32-bit row count, then rows of 860
// bytes) and the text forms of its fields.
#include "platform/INetworkTable.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

inline constexpr std::size_t kIfRowSize = 860;

// Decodes every complete row present in the buffer. The row count in the
// header is believed only as far as the buffer holds whole rows; a buffer
// shorter than the header gives no rows. Counters are the rows' unsigned
// 32-bit values.
std::vector<IfRow> DecodeIfTable(std::span<const std::uint8_t> buffer);

// "00-B-7F-1A-00-5": each byte in upper-case hex without a leading zero
// ("00" for zero), joined by "-". At most 8 bytes are read.
std::string FormatAdapterAddress(const std::uint8_t* bytes, std::size_t length);
