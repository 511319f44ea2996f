#pragma once
// One instance per user: an advisory lock (flock) on a file in the user's
// runtime folder. The kernel lets go of it when its owner ends however it
// ends, so a file left behind by a crash, empty or not, never blocks or
// delays a start.
#include "UniqueFd.h"
#include "platform/IInstanceLock.h"

#include <string>

class LinuxInstanceLock : public IInstanceLock {
public:
    explicit LinuxInstanceLock(std::string path) : m_path(std::move(path)) {}
    bool acquire() override;

private:
    std::string m_path;
    UniqueFd m_fd; // held for the life of the process
};
