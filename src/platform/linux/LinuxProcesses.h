#pragma once
// Processes from /proc: the executable's name from /proc/PID/exe, or the
// command name where that cannot be read (kernel threads, other users'
// programs); signals through a process file descriptor whose process is
// checked by its start time, so a number reused meanwhile is never hit.
#include "platform/IProcesses.h"

class LinuxProcesses : public IProcesses {
public:
    std::vector<ProcessEntry> list() override;
    std::int32_t selfPid() override;
    std::uint32_t selfUid() override;
    std::vector<std::int32_t> sessionServers() override;
    bool signal(const ProcessEntry& process, bool force) override;
    bool running(const ProcessEntry& process) override;
};

// The fields of /proc/PID/stat a process entry needs; false when the text is
// not such a line.
bool ParseProcessStat(std::string_view text, char& state, std::int32_t& parent, std::uint64_t& flags,
                      std::uint64_t& started, std::string& comm);
