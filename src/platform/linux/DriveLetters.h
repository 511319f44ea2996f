#pragma once
// Drive letters for the mounted filesystems of this machine. The filesystem
// holding "/" is C:; every other filesystem of a block device, or of a
// network share, takes the lowest free letter from D: when it is first seen
// and keeps it while it stays mounted, however many places it is mounted at.
// Pure: it is handed the text of /proc/self/mountinfo.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One line of /proc/self/mountinfo.
struct MountEntry {
    std::uint32_t major = 0, minor = 0;
    std::string mountPoint; // with its octal escapes undone
    std::string fsType;
    std::string source; // the device or share, e.g. /dev/sdb1
    bool operator==(const MountEntry&) const = default;
};

// The lines of a mountinfo text; lines that do not parse are skipped.
std::vector<MountEntry> ParseMountInfo(std::string_view text);

// Whether a filesystem type is a network share.
bool IsRemoteFsType(std::string_view fsType);

// A filesystem that holds a letter.
struct LetteredFs {
    std::uint32_t major = 0, minor = 0;
    std::string fsType, source;
    std::vector<std::string> mountPoints; // in the order they were mounted
    bool remote = false;
};

class DriveLetters {
public:
    // Takes the mounts listed now: letters of filesystems no longer mounted
    // are freed, new ones are given theirs.
    void update(const std::vector<MountEntry>& mounts);
    // The filesystem of a letter 'A' to 'Z', or nullptr.
    const LetteredFs* at(char letter) const;
    // The letter of the filesystem holding path (an absolute, resolved path):
    // the one with the longest mount point above it; 0 when none.
    char letterOf(std::string_view path) const;
    // Frees a letter now (its filesystem gets a new one if it is seen again).
    void release(char letter);

private:
    std::array<std::optional<LetteredFs>, 26> m_letters;
};
