// The kill list's reader and its pattern matcher: the first line is a
// pattern, the rest a name, and the whole a list.
#include "killer/KillList.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    KillListEntries(text);
    KillMenuCaption(text);
    // Names are file names (at most 255 bytes here); entries are lines.
    const std::size_t cut = std::min({text.find('\n'), text.size(), std::size_t{1024}});
    PatternMatches(EntryPattern(text.substr(0, cut), ".exe"),
                   text.substr(std::min(cut + 1, text.size()), 4096));
    return 0;
}
