#include "LinuxProcesses.h"

#include "FileReader.h"
#include "UniqueFd.h"

#include "ProcParsers.h"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <set>
#include <string_view>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

constexpr std::uint64_t kKernelThreadFlag = 0x00200000; // PF_KTHREAD

std::string folderOf(std::int32_t pid) {
    return "/proc/" + std::to_string(pid);
}

std::uint32_t realUid(std::int32_t pid) {
    std::string text;
    if (!ReadSmallFile((folderOf(pid) + "/status").c_str(), text, 4096)) {
        return static_cast<std::uint32_t>(-1);
    }
    const std::size_t at = text.find("\nUid:");
    std::uint32_t uid = static_cast<std::uint32_t>(-1);
    if (at != std::string::npos) {
        const char* p = text.data() + at + 5;
        while (*p == '\t' || *p == ' ') {
            ++p;
        }
        std::from_chars(p, text.data() + text.size(), uid);
    }
    return uid;
}

// The executable's file name; a replaced or deleted file's " (deleted)" is
// no part of it.
std::string exeName(std::int32_t pid) {
    char target[4096];
    const ssize_t n = ::readlink((folderOf(pid) + "/exe").c_str(), target, sizeof target);
    if (n <= 0) {
        return {};
    }
    std::string_view path(target, static_cast<std::size_t>(n));
    constexpr std::string_view kDeleted = " (deleted)";
    if (path.size() > kDeleted.size() && path.substr(path.size() - kDeleted.size()) == kDeleted) {
        path.remove_suffix(kDeleted.size());
    }
    return std::string(path.substr(path.rfind('/') + 1));
}

bool readStat(std::int32_t pid, char& state, std::uint64_t& flags, std::uint64_t& started, std::string& comm,
              std::int32_t* parent = nullptr) {
    std::string text;
    std::int32_t ppid = 0;
    const bool ok = ReadSmallFile((folderOf(pid) + "/stat").c_str(), text, 4096) &&
                    ParseProcessStat(text, state, ppid, flags, started, comm);
    if (parent) {
        *parent = ppid;
    }
    return ok;
}

std::string environment(const char* name) {
    const char* value = std::getenv(name); // NOLINT(concurrency-mt-unsafe): read on the window's thread only
    return value ? value : "";
}

// The socket paths of the session's servers, as /proc/net/unix writes them
// (an abstract name with a leading "@").
std::set<std::string> sessionSocketPaths() {
    std::set<std::string> paths;
    const std::string runtime = environment("XDG_RUNTIME_DIR");
    const std::string display = environment("DISPLAY");
    // ":0", ":0.0", "unix:0": the local X server's socket, named and abstract.
    if (const std::size_t colon = display.rfind(':'); colon != std::string::npos) {
        const std::string number = display.substr(colon + 1, display.find('.', colon) - colon - 1);
        paths.insert("/tmp/.X11-unix/X" + number);
        paths.insert("@/tmp/.X11-unix/X" + number);
    }
    if (const std::string wayland = environment("WAYLAND_DISPLAY"); !wayland.empty()) {
        paths.insert(wayland.front() == '/' ? wayland : runtime + "/" + wayland);
    }
    // "unix:path=/run/user/1000/bus,guid=..." or "unix:abstract=/tmp/dbus-x".
    for (const std::string& address : {environment("DBUS_SESSION_BUS_ADDRESS")}) {
        for (const auto& [key, prefix] :
             {std::pair<std::string, std::string>{"path=", ""}, {"abstract=", "@"}}) {
            const std::size_t at = address.find(key);
            if (at != std::string::npos) {
                const std::size_t start = at + key.size();
                paths.insert(prefix + address.substr(start, address.find_first_of(",;", start) - start));
            }
        }
    }
    if (!runtime.empty()) {
        paths.insert(runtime + "/bus");
        paths.insert(runtime + "/pulse/native");
        paths.insert(runtime + "/pipewire-0");
    }
    return paths;
}

} // namespace

bool ParseProcessStat(std::string_view text, char& state, std::int32_t& parent, std::uint64_t& flags,
                      std::uint64_t& started, std::string& comm) {
    // "pid (comm) state ppid ...": the name may hold spaces and brackets.
    const std::size_t open = text.find('(');
    const std::size_t close = text.rfind(')');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open ||
        close + 2 >= text.size()) {
        return false;
    }
    comm = std::string(text.substr(open + 1, close - open - 1));
    std::string_view rest = text.substr(close + 2);
    state = rest.front();
    // Fields after the name, counting the state as field 3: the parent is
    // 4, flags 9, starttime 22.
    for (int field = 3; field <= 22; ++field) {
        const std::size_t space = rest.find(' ');
        const std::string_view value = rest.substr(0, space);
        if (field == 4 &&
            std::from_chars(value.data(), value.data() + value.size(), parent).ec != std::errc()) {
            return false;
        }
        if (field == 9 || field == 22) {
            std::uint64_t number = 0;
            if (std::from_chars(value.data(), value.data() + value.size(), number).ec != std::errc()) {
                return false;
            }
            (field == 9 ? flags : started) = number;
        }
        if (space == std::string_view::npos) {
            return field == 22;
        }
        rest.remove_prefix(space + 1);
    }
    return true;
}

std::vector<ProcessEntry> LinuxProcesses::list() {
    std::vector<ProcessEntry> processes;
    DIR* dir = ::opendir("/proc");
    if (!dir) {
        return processes;
    }
    while (const dirent* entry = ::readdir(dir)) {
        std::int32_t pid = 0;
        const std::string_view name = entry->d_name;
        if (std::from_chars(name.data(), name.data() + name.size(), pid).ptr != name.data() + name.size()) {
            continue;
        }
        ProcessEntry p;
        p.pid = pid;
        char state = 0;
        std::uint64_t flags = 0;
        std::string comm;
        if (!readStat(pid, state, flags, p.started, comm, &p.parent)) {
            continue; // gone meanwhile
        }
        p.kernelThread = (flags & kKernelThreadFlag) != 0;
        p.zombie = state == 'Z' || state == 'X';
        p.name = p.kernelThread ? comm : exeName(pid);
        if (p.name.empty()) {
            p.name = comm; // not ours to read, or gone
        }
        p.uid = realUid(pid);
        processes.push_back(std::move(p));
    }
    ::closedir(dir);
    return processes;
}

std::vector<std::int32_t> LinuxProcesses::sessionServers() {
    std::string table;
    if (!ReadSmallFile("/proc/net/unix", table, 16 << 20)) {
        return {};
    }
    const std::set<std::uint64_t> inodes = ListeningSocketInodes(table, sessionSocketPaths());
    std::vector<std::int32_t> servers;
    if (inodes.empty()) {
        return servers;
    }
    // Whoever holds one of those sockets open serves it (a service manager
    // that made the socket for a server it starts holds it too).
    for (const ProcessEntry& p : list()) {
        if (p.uid != ::getuid() || p.kernelThread) {
            continue;
        }
        const std::string fds = folderOf(p.pid) + "/fd";
        DIR* dir = ::opendir(fds.c_str());
        if (!dir) {
            continue;
        }
        while (const dirent* entry = ::readdir(dir)) {
            char target[64];
            const ssize_t n = ::readlinkat(::dirfd(dir), entry->d_name, target, sizeof target - 1);
            std::uint64_t inode = 0;
            if (n > 9 && std::string_view(target, 8) == "socket:[" &&
                std::from_chars(target + 8, target + n, inode).ec == std::errc() && inodes.count(inode)) {
                servers.push_back(p.pid);
                break;
            }
        }
        ::closedir(dir);
    }
    return servers;
}

std::int32_t LinuxProcesses::selfPid() {
    return static_cast<std::int32_t>(::getpid());
}

std::uint32_t LinuxProcesses::selfUid() {
    return ::getuid();
}

bool LinuxProcesses::signal(const ProcessEntry& process, bool force) {
    // The descriptor names one process for good; its start time tells
    // whether that is still the one listed.
    UniqueFd pidfd(static_cast<int>(::syscall(SYS_pidfd_open, process.pid, 0)));
    if (!pidfd.valid()) {
        return false;
    }
    char state = 0;
    std::uint64_t flags = 0, started = 0;
    std::string comm;
    if (!readStat(process.pid, state, flags, started, comm) || started != process.started) {
        return false;
    }
    return ::syscall(SYS_pidfd_send_signal, pidfd.get(), force ? SIGKILL : SIGTERM, nullptr, 0) == 0;
}

bool LinuxProcesses::running(const ProcessEntry& process) {
    char state = 0;
    std::uint64_t flags = 0, started = 0;
    std::string comm;
    return readStat(process.pid, state, flags, started, comm) && started == process.started && state != 'Z' &&
           state != 'X';
}
