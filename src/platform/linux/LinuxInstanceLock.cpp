#include "LinuxInstanceLock.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

bool LinuxInstanceLock::acquire() {
    const std::size_t slash = m_path.rfind('/');
    if (slash != std::string::npos && slash > 0) {
        ::mkdir(m_path.substr(0, slash).c_str(), 0700);
    }
    UniqueFd fd(::open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (!fd.valid()) {
        return true; // no lock can be kept here: run rather than never start
    }
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        return errno != EWOULDBLOCK; // held by a running instance
    }
    // The owner's process id, for a person looking; the lock itself is flock's.
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd.get(), 0) == 0) {
        [[maybe_unused]] const ssize_t written = ::pwrite(fd.get(), pid.data(), pid.size(), 0);
    }
    m_fd = std::move(fd);
    return true;
}
