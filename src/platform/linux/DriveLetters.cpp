#include "DriveLetters.h"

#include <algorithm>
#include <charconv>

namespace {

constexpr std::size_t kMaxMounts = 100000;

std::string_view nextField(std::string_view& line) {
    while (!line.empty() && line.front() == ' ') {
        line.remove_prefix(1);
    }
    const std::size_t end = std::min(line.find(' '), line.size());
    const std::string_view field = line.substr(0, end);
    line.remove_prefix(end);
    return field;
}

// The kernel writes space, tab, line feed and backslash as \ooo.
std::string unescape(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && field.size() - i > 3) {
            const std::string_view digits = field.substr(i + 1, 3);
            if (std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '7'; })) {
                out.push_back(static_cast<char>(((digits[0] - '0') << 6) | ((digits[1] - '0') << 3) |
                                                (digits[2] - '0')));
                i += 3;
                continue;
            }
        }
        out.push_back(field[i]);
    }
    return out;
}

bool parseDevice(std::string_view field, std::uint32_t& major, std::uint32_t& minor) {
    const std::size_t colon = field.find(':');
    if (colon == std::string_view::npos) {
        return false;
    }
    const char* end = field.data() + field.size();
    const auto a = std::from_chars(field.data(), field.data() + colon, major);
    const auto b = std::from_chars(field.data() + colon + 1, end, minor);
    return a.ec == std::errc() && a.ptr == field.data() + colon && b.ec == std::errc() && b.ptr == end;
}

std::optional<MountEntry> parseLine(std::string_view line) {
    MountEntry e;
    nextField(line); // mount id
    nextField(line); // parent id
    if (!parseDevice(nextField(line), e.major, e.minor)) {
        return std::nullopt;
    }
    nextField(line); // root within the filesystem
    const std::string_view mountPoint = nextField(line);
    nextField(line); // mount options
    // Optional fields up to the lone "-".
    for (std::string_view f = nextField(line); f != "-"; f = nextField(line)) {
        if (f.empty()) {
            return std::nullopt;
        }
    }
    const std::string_view fsType = nextField(line);
    const std::string_view source = nextField(line);
    if (mountPoint.empty() || mountPoint.front() != '/' || fsType.empty()) {
        return std::nullopt;
    }
    e.mountPoint = unescape(mountPoint);
    e.fsType = unescape(fsType);
    e.source = unescape(source);
    return e;
}

// Filesystems a user would call a drive: those of a block device and network
// shares. Compressed read-only images (snaps, live systems) are not drives.
bool isDrive(const MountEntry& e) {
    if (e.fsType == "squashfs" || e.fsType == "erofs") {
        return false;
    }
    return e.major != 0 || e.source.rfind("/dev/", 0) == 0 || IsRemoteFsType(e.fsType);
}

bool contains(std::string_view mountPoint, std::string_view path) {
    if (mountPoint == "/") {
        return true;
    }
    return path.substr(0, mountPoint.size()) == mountPoint &&
           (path.size() == mountPoint.size() || path[mountPoint.size()] == '/');
}

} // namespace

std::vector<MountEntry> ParseMountInfo(std::string_view text) {
    std::vector<MountEntry> mounts;
    while (!text.empty() && mounts.size() < kMaxMounts) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        if (auto e = parseLine(text.substr(0, end))) {
            mounts.push_back(std::move(*e));
        }
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return mounts;
}

bool IsRemoteFsType(std::string_view t) {
    static constexpr std::string_view kRemote[] = {"nfs",   "nfs4",           "cifs",  "smb3",
                                                   "smbfs", "fuse.sshfs",     "afs",   "ceph",
                                                   "9p",    "fuse.glusterfs", "davfs", "fuse.rclone"};
    return std::find(std::begin(kRemote), std::end(kRemote), t) != std::end(kRemote);
}

void DriveLetters::update(const std::vector<MountEntry>& mounts) {
    // The filesystems mounted now, each once, with all its mount points.
    std::vector<LetteredFs> now;
    const MountEntry* root = nullptr;
    for (const MountEntry& e : mounts) {
        if (e.mountPoint == "/") {
            root = &e; // a later mount over "/" hides the earlier one
        }
        if (!isDrive(e) && e.mountPoint != "/") {
            continue;
        }
        auto same = std::find_if(now.begin(), now.end(), [&](const LetteredFs& f) {
            return f.major == e.major && f.minor == e.minor;
        });
        if (same == now.end()) {
            now.push_back({e.major, e.minor, e.fsType, e.source, {}, IsRemoteFsType(e.fsType)});
            same = now.end() - 1;
        }
        same->mountPoints.push_back(e.mountPoint);
    }
    auto isRoot = [&](const LetteredFs& f) {
        return root && f.major == root->major && f.minor == root->minor;
    };

    std::array<std::optional<LetteredFs>, 26> next;
    for (LetteredFs& f : now) {
        if (isRoot(f)) {
            next[2] = std::move(f);
            continue;
        }
        if (!isDrive({f.major, f.minor, "", f.fsType, f.source})) {
            continue;
        }
        // Keeps its letter while it stays mounted.
        auto held = std::find_if(m_letters.begin() + 3, m_letters.end(), [&](const auto& l) {
            return l && l->major == f.major && l->minor == f.minor;
        });
        if (held != m_letters.end()) {
            next[static_cast<std::size_t>(held - m_letters.begin())] = std::move(f);
        }
    }
    // New filesystems take the lowest free letter.
    for (LetteredFs& f : now) {
        if (f.mountPoints.empty() || isRoot(f) || !isDrive({f.major, f.minor, "", f.fsType, f.source})) {
            continue;
        }
        const bool placed = std::any_of(next.begin(), next.end(), [&](const auto& l) {
            return l && l->major == f.major && l->minor == f.minor;
        });
        if (placed) {
            continue;
        }
        for (std::size_t i = 3; i < next.size(); ++i) {
            if (!next[i]) {
                next[i] = std::move(f);
                break;
            }
        }
    }
    m_letters = std::move(next);
}

const LetteredFs* DriveLetters::at(char letter) const {
    if (letter < 'A' || letter > 'Z') {
        return nullptr;
    }
    const auto& l = m_letters[static_cast<std::size_t>(letter - 'A')];
    return l ? &*l : nullptr;
}

char DriveLetters::letterOf(std::string_view path) const {
    char best = 0;
    std::size_t bestLength = 0;
    for (std::size_t i = 0; i < m_letters.size(); ++i) {
        if (!m_letters[i]) {
            continue;
        }
        for (const std::string& mountPoint : m_letters[i]->mountPoints) {
            if (contains(mountPoint, path) && (best == 0 || mountPoint.size() > bestLength)) {
                best = static_cast<char>('A' + i);
                bestLength = mountPoint.size();
            }
        }
    }
    return best;
}

void DriveLetters::release(char letter) {
    if (letter >= 'D' && letter <= 'Z') {
        m_letters[static_cast<std::size_t>(letter - 'A')].reset();
    }
}
