#pragma once
// The running processes, and ending one of them.
#include <cstdint>
#include <string>
#include <vector>

struct ProcessEntry {
    std::int32_t pid = 0;
    std::uint64_t started = 0; // when it started, in the system's units: tells a reused number apart
    std::string name;          // the executable's file name (no folder)
    std::uint32_t uid = 0;     // its real user
    std::int32_t parent = 0;   // the process that started it (0: none known)
    bool kernelThread = false;
    bool zombie = false; // ended, waiting for its parent
};

class IProcesses {
public:
    virtual ~IProcesses() = default;
    // Every process now, in the system's order.
    virtual std::vector<ProcessEntry> list() = 0;
    // This program's own process number and real user.
    virtual std::int32_t selfPid() = 0;
    virtual std::uint32_t selfUid() = 0;
    // The processes the graphical session stands on: those holding the
    // listening end of the session's sockets (the display server or
    // compositor, the session bus, the sound server). Empty where none is
    // found.
    virtual std::vector<std::int32_t> sessionServers() = 0;
    // Asks the process to end (force: makes it end); false when it has gone,
    // its number now names another process, or it is not ours to signal.
    virtual bool signal(const ProcessEntry& process, bool force) = 0;
    // Whether that very process still runs (a zombie has ended).
    virtual bool running(const ProcessEntry& process) = 0;
};
