// The netlink dump walker and the link and statistics decoders.
#include "platform/linux/NetlinkMessages.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    bool interrupted = false;
    WalkDumpBuffer(std::span<const std::uint8_t>(data, size), 1, interrupted,
                   [size](std::uint16_t, std::span<const std::uint8_t> payload) {
                       if (payload.size() > size) {
                           std::abort();
                       }
                       if (const auto row = DecodeLinkMessage(payload); row && row->address.size() > 8) {
                           std::abort();
                       }
                       DecodeStatsMessage(payload);
                       DecodeDefaultRoute(payload);
                   });
    return 0;
}
