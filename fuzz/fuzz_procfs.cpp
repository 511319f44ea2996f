// The /proc text parsers, the socket table among them.
#include "platform/linux/CgroupMemory.h"
#include "platform/linux/DriveLetters.h"
#include "platform/linux/ProcParsers.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ParseProcStatIdle(text);
    ParseMemInfo(text);
    ParseStatmSize(text);
    // The mount table, and letters handed out over two readings of it.
    DriveLetters letters;
    const auto mounts = ParseMountInfo(text);
    letters.update(mounts);
    letters.update(std::vector<MountEntry>(mounts.begin() + static_cast<std::ptrdiff_t>(mounts.size() / 2),
                                           mounts.end()));
    letters.letterOf(text.empty() ? "/" : std::string(text.substr(0, 16)));
    // /proc/self/cgroup, and a limit and a use file split from the same text.
    CgroupMemoryFolders(text, "/sys/fs/cgroup");
    CgroupRoom(text.substr(0, size / 2), text.substr(size / 2));
    // /proc/net/unix, asked for a path it may hold.
    ListeningSocketInodes(text, {"/run/user/1000/bus", "@/tmp/.X11-unix/X0"});
    return 0;
}
