// The /proc text parsers.
#include "platform/linux/ProcParsers.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ParseProcStatIdle(text);
    ParseMemInfo(text);
    ParseStatmSize(text);
    return 0;
}
