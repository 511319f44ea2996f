#include "FileReader.h"

#include <fcntl.h>
#include <unistd.h>

bool ReadSmallFile(const char* path, std::string& out, std::size_t maxBytes) {
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    out.clear();
    char chunk[16384];
    bool ok = true;
    while (out.size() < maxBytes) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0) {
            ok = false;
            break;
        }
        if (n == 0) {
            break;
        }
        out.append(chunk, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (out.size() > maxBytes) {
        out.resize(maxBytes);
    }
    return ok;
}

ProcFile::ProcFile(const char* path) : m_path(path), m_fd(::open(path, O_RDONLY | O_CLOEXEC)) {}

std::string ReadWordFile(const std::string& path) {
    std::string text;
    ReadSmallFile(path.c_str(), text, 64);
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

bool ProcFile::read(std::string& out, std::size_t maxBytes) {
    if (!m_fd.valid()) {
        m_fd.reset(::open(m_path, O_RDONLY | O_CLOEXEC));
        if (!m_fd.valid()) {
            return false;
        }
    }
    out.clear();
    char chunk[16384];
    off_t offset = 0;
    while (out.size() < maxBytes) {
        const ssize_t n = ::pread(m_fd.get(), chunk, sizeof chunk, offset);
        if (n < 0) {
            m_fd.reset(); // reopen next time
            return false;
        }
        if (n == 0) {
            break;
        }
        out.append(chunk, static_cast<std::size_t>(n));
        offset += n;
        if (static_cast<std::size_t>(n) < sizeof chunk) {
            break; // a short read of a /proc file is its end
        }
    }
    if (out.size() > maxBytes) {
        out.resize(maxBytes);
    }
    return true;
}
