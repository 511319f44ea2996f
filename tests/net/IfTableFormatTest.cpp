#include "net/IfTableFormat.h"

#include <gtest/gtest.h>

namespace {

// (The table's bytes are the Windows layer's: fuzz_iftable keeps the decoder
// inside any buffer, with never more rows than whole rows fit.)

struct AddressCase {
    std::vector<std::uint8_t> bytes;
    std::size_t length;
    const char* expected;
};

TEST(FormatAdapterAddress, HexWithoutLeadingZeroesButDoubleZero) {
    const AddressCase cases[] = {
        {{0x00, 0x0B, 0x7F, 0x1A, 0x00, 0x05}, 6, "00-B-7F-1A-00-5"},
        {{0x00, 0x0B}, 0, ""},
        {{0xFF}, 1, "FF"},
        {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 10, "1-2-3-4-5-6-7-8"}, // never past 8 bytes
    };
    for (const AddressCase& c : cases) {
        EXPECT_EQ(FormatAdapterAddress(c.bytes.data(), c.length), c.expected);
    }
}

} // namespace
