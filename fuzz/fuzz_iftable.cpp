// The interface-table decoder and the records made from its rows.
#include "net/CIpHelper.h"
#include "net/IfTableFormat.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto rows = DecodeIfTable(std::span<const std::uint8_t>(data, size));
    if (rows.size() > (size / kIfRowSize)) {
        std::abort();
    }
    for (const IfRow& row : rows) {
        const auto record = CIpHelper::RecordFromRow(IfRow(row));
        if (record->OctetsReceived() < 0 || record->AdapterAddress.size() > 23) {
            std::abort();
        }
    }
    return 0;
}
