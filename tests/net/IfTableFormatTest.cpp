#include "net/IfTableFormat.h"

#include <gtest/gtest.h>

namespace {

// Builds interface-table buffers in the 860-byte row format.
class TableBuilder {
public:
    explicit TableBuilder(std::uint32_t claimedRows) : m_bytes(4, 0) { put32(0, claimedRows); }
    std::size_t addRow() {
        const std::size_t at = m_bytes.size();
        m_bytes.resize(at + kIfRowSize, 0);
        return at;
    }
    void put32(std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            m_bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
        }
    }
    std::vector<std::uint8_t>& data() { return m_bytes; }

private:
    std::vector<std::uint8_t> m_bytes;
};

// The table's bytes are the Windows layer's: nothing on Linux decodes them,
// so only the rule that keeps the decoder inside its buffer is pinned here
// (the fuzz target runs it on anything).
TEST(DecodeIfTable, NeverBelievesARowCountBeyondTheBuffer) {
    TableBuilder t(1000000);
    t.addRow();
    t.addRow();
    t.data().resize(t.data().size() + 500); // half a row more
    EXPECT_EQ(DecodeIfTable(t.data()).size(), 2u);
    EXPECT_TRUE(DecodeIfTable(std::vector<std::uint8_t>{1, 0, 0}).empty());
    EXPECT_TRUE(DecodeIfTable({}).empty());
    TableBuilder fewer(1);
    fewer.addRow();
    fewer.addRow();
    EXPECT_EQ(DecodeIfTable(fewer.data()).size(), 1u);
}

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
