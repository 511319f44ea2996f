// Claiming memory for real, in a memory cgroup of the test's own (root).
#include "platform/linux/LinuxMemoryClaim.h"

#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr std::int64_t kMiB = 1048576;

std::int64_t residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    std::int64_t value = 0;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> value;
            return value;
        }
    }
    return -1;
}

std::string read(const std::string& path) {
    std::ifstream file(path);
    std::string word;
    file >> word;
    return word;
}

bool write(const std::string& path, const std::string& text) {
    std::ofstream file(path);
    file << text;
    file.flush();
    return static_cast<bool>(file);
}

TEST(LinuxMemoryClaim, ClaimsResidentMemoryUnderItsCgroupsLimitAndReturnsIt) {
    // v2 when the unified hierarchy holds the memory controller, else v1.
    const bool v2 = access("/sys/fs/cgroup/cgroup.controllers", F_OK) == 0;
    const std::string group = (v2 ? "/sys/fs/cgroup/" : "/sys/fs/cgroup/memory/") +
                              std::string("trafalo-claim-") + std::to_string(getpid());
    if (geteuid() != 0 || ::mkdir(group.c_str(), 0755) != 0) {
        GTEST_SKIP() << "needs root and a memory cgroup";
    }
    if (!write(group + (v2 ? "/memory.max" : "/memory.limit_in_bytes"), std::to_string(300 * kMiB))) {
        ::rmdir(group.c_str());
        GTEST_SKIP() << "the memory controller is not enabled for new cgroups here";
    }
    const pid_t child = fork();
    if (child == 0) {
        // In the cgroup: at most 300 MiB; 100 MiB claimed in 2 MiB blocks is
        // resident and counted, then returned in one sweep (all but the
        // sanitizer's shadow of it, an eighth, under AddressSanitizer).
        if (!write(group + "/cgroup.procs", std::to_string(getpid()))) {
            _exit(2);
        }
        LinuxMemoryClaim claim;
        const std::int64_t before = claim.availableBytes();
        const std::int64_t rss = residentKiB();
        for (int i = 0; i < 50; ++i) {
            if (!claim.claim(2 * kMiB)) {
                _exit(3);
            }
        }
        const std::int64_t during = claim.availableBytes();
        const std::int64_t grown = residentKiB() - rss;
        claim.offerAsFirstVictim(true);
        const std::string offered = read("/proc/self/oom_score_adj");
        claim.offerAsFirstVictim(false);
        const std::string restored = read("/proc/self/oom_score_adj");
        claim.releaseAll();
        const std::int64_t after = residentKiB() - rss;
        const bool ok = before <= 300 * kMiB && before > 250 * kMiB && before - during >= 98 * kMiB &&
                        grown >= 100 * 1024 && after < grown / 4 && claim.claimedBytes() == 0 &&
                        offered == "1000" && restored == "0";
        if (!ok) {
            fprintf(stderr, "before %lld during %lld grown %lld KiB after %lld KiB oom %s/%s\n",
                    static_cast<long long>(before), static_cast<long long>(during),
                    static_cast<long long>(grown), static_cast<long long>(after), offered.c_str(),
                    restored.c_str());
        }
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ::rmdir(group.c_str());
    ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

} // namespace
