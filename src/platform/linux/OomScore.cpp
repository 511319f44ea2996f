#include "OomScore.h"

#include <fcntl.h>
#include <unistd.h>

namespace {
std::string g_ordinary; // touched on the window's thread only
} // namespace

void SetOrdinaryOomScore(std::string score) {
    g_ordinary = std::move(score);
}

const std::string& OrdinaryOomScore() {
    return g_ordinary;
}

void WriteOomScore(const std::string& score) {
    // Down to the score the process started with needs no privilege.
    const int fd = ::open("/proc/self/oom_score_adj", O_WRONLY | O_CLOEXEC);
    if (fd >= 0) {
        [[maybe_unused]] const ssize_t written = ::write(fd, score.data(), score.size());
        ::close(fd);
    }
}
