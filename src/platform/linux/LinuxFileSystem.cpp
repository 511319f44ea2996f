#include "platform/FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <syslog.h>
#include <unistd.h>

namespace {

std::string failure(const char* what, const std::string& path) {
    return std::string(what) + " " + path + ": " + std::strerror(errno);
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

} // namespace

std::optional<std::string> ReplaceFileAtomically(const std::string& path, std::string_view bytes) {
    const std::size_t slash = path.rfind('/');
    const std::string folder =
        slash == std::string::npos ? "." : path.substr(0, std::max<std::size_t>(slash, 1));
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        return failure("cannot create a file beside", path);
    }
    struct stat old {};
    const mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    std::optional<std::string> error;
    if (!writeAll(fd, bytes)) {
        error = failure("cannot write", temp);
    } else if (::fchmod(fd, mode) != 0) {
        error = failure("cannot set the mode of", temp);
    } else if (::fsync(fd) != 0) {
        error = failure("cannot flush", temp);
    }
    if (::close(fd) != 0 && !error) {
        error = failure("cannot close", temp);
    }
    if (!error && ::rename(temp.c_str(), path.c_str()) != 0) {
        error = failure("cannot replace", path);
    }
    if (error) {
        ::unlink(temp.c_str());
        return error;
    }
    // The rename itself reaches the disk with the folder.
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return std::nullopt;
}

void LogError(std::string_view message) {
    ::openlog("trafalo", LOG_PID, LOG_USER);
    ::syslog(LOG_ERR, "%.*s", static_cast<int>(message.size()), message.data());
    std::fprintf(stderr, "trafalo: %.*s\n", static_cast<int>(message.size()), message.data());
}

bool TrustedToLoad(const std::string& path, std::string& why) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved) {
        why = failure("cannot find", path);
        return false;
    }
    const std::string file(resolved);
    std::free(resolved); // NOLINT(cppcoreguidelines-no-malloc): realpath's buffer
    const std::string folder = file.substr(0, std::max<std::size_t>(file.rfind('/'), 1));
    for (const std::string& part : {file, folder}) {
        struct stat info {};
        if (::stat(part.c_str(), &info) != 0) {
            why = failure("cannot look at", part);
            return false;
        }
        if (info.st_uid != 0 && info.st_uid != ::getuid()) {
            why = part + " belongs to another user";
            return false;
        }
        if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
            why = part + " may be written by other users";
            return false;
        }
    }
    return true;
}
