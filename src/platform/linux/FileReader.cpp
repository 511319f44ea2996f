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
