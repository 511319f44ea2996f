#include "net/IfTableFormat.h"
#include "net/CIpHelper.h"

#include "fakes/FakeNetworkTable.h"

#include <cstring>
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
    void name(std::size_t row, const std::u16string& text) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            m_bytes[row + 2 * i] = static_cast<std::uint8_t>(text[i]);
            m_bytes[row + 2 * i + 1] = static_cast<std::uint8_t>(text[i] >> 8);
        }
    }
    void bytes(std::size_t at, const std::vector<std::uint8_t>& data) {
        std::memcpy(m_bytes.data() + at, data.data(), data.size());
    }
    std::vector<std::uint8_t>& data() { return m_bytes; }

private:
    std::vector<std::uint8_t> m_bytes;
};

TEST(DecodeIfTable, ReadsEveryFieldOfARow) {
    TableBuilder t(1);
    const std::size_t r = t.addRow();
    t.name(r, u"{Adapter-\u00e9}");
    t.put32(r + 512, 7);
    t.put32(r + 516, 6);
    t.put32(r + 520, 1500);
    t.put32(r + 524, 3000000000u);
    t.put32(r + 528, 6);
    t.bytes(r + 532, {0x00, 0x0B, 0x7F, 0x1A, 0x00, 0x05});
    t.put32(r + 540, 1);
    t.put32(r + 544, 5);
    t.put32(r + 552, 3000000000u);
    t.put32(r + 556, 11);
    t.put32(r + 576, 4294967295u);
    t.put32(r + 596, 9);
    t.put32(r + 600, 17);
    t.bytes(r + 604,
            {'R', 'e', 'a', 'l', 't', 'e', 'k', ' ', 'P', 'C', 'I', 'e', ' ', 'G', 'b', 'E', ' ', 'X', 'Y'});
    const auto rows = DecodeIfTable(t.data());
    ASSERT_EQ(rows.size(), 1u);
    const IfRow& row = rows[0];
    EXPECT_EQ(row.name, "{Adapter-\xc3\xa9}");
    EXPECT_EQ(row.index, 7);
    EXPECT_EQ(row.type, 6);
    EXPECT_EQ(row.mtu, 1500);
    EXPECT_EQ(row.speed, -1294967296); // the unsigned value taken as signed
    EXPECT_EQ(row.operStatus, 5);
    EXPECT_EQ(row.octetsIn, 3000000000u);
    EXPECT_EQ(row.octetsOut, 4294967295u);
    EXPECT_EQ(row.unicastIn, 11u);
    EXPECT_EQ(row.outQueueLength, 9u);
    EXPECT_EQ(row.description, "Realtek PCIe GbE ");

    const auto record = CIpHelper::RecordFromRow(IfRow(row));
    EXPECT_EQ(record->AdapterAddress, "00-B-7F-1A-00-5");
    EXPECT_EQ(record->OctetsReceived(), 3000000000LL);
}

TEST(DecodeIfTable, DescriptionLengthKeepsEmbeddedNulsAndStopsAt256) {
    TableBuilder t(2);
    const std::size_t a = t.addRow();
    t.put32(a + 600, 5);
    t.bytes(a + 604, {'a', 0, 'b', 'c', 'd', 'e'});
    const std::size_t b = t.addRow();
    t.put32(b + 600, 100000);
    for (std::size_t i = 0; i < 256; ++i) {
        t.data()[b + 604 + i] = 'z';
    }
    const auto rows = DecodeIfTable(t.data());
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].description, std::string("a\0bcd", 5));
    EXPECT_EQ(rows[1].description, std::string(256, 'z'));
}

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
