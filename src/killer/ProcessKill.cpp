#include "killer/ProcessKill.h"

#include "killer/KillList.h"

#include <algorithm>
#include <map>
#include <set>
#include <vector>

namespace {

constexpr int kMaxRepeats = 100;

// What an entry like "*" must never end, for the whole desktop session runs
// as the user: this program and every process it was started from (the
// terminal, the launcher, the session manager), the user's service manager,
// and the servers the session stands on.
std::set<std::int32_t> untouchable(const std::vector<ProcessEntry>& now, IProcesses& processes) {
    std::set<std::int32_t> keep;
    std::map<std::int32_t, std::int32_t> parents;
    for (const ProcessEntry& p : now) {
        parents[p.pid] = p.parent;
        if (p.name == "systemd" && p.uid == processes.selfUid()) {
            keep.insert(p.pid);
        }
    }
    for (std::int32_t pid = processes.selfPid(); pid > 1 && keep.insert(pid).second;) {
        const auto parent = parents.find(pid);
        pid = parent == parents.end() ? 0 : parent->second;
    }
    for (const std::int32_t pid : processes.sessionServers()) {
        keep.insert(pid);
    }
    return keep;
}

bool mayEnd(const ProcessEntry& p, IProcesses& processes, const std::set<std::int32_t>& keep) {
    return p.pid > 1 && !p.kernelThread && !p.zombie && p.uid == processes.selfUid() &&
           keep.count(p.pid) == 0;
}

bool same(const ProcessEntry& a, const ProcessEntry& b) {
    return a.pid == b.pid && a.started == b.started;
}

} // namespace

void KillListedProcesses(std::string_view listText, IProcesses& processes, IClock& clock,
                         const std::string& executableSuffix, const std::function<bool(int)>& wait) {
    const std::vector<std::string> entries = KillListEntries(listText);
    if (entries.empty()) {
        return;
    }
    const std::set<std::int32_t> keep = untouchable(processes.list(), processes);
    for (const std::string& entry : entries) {
        const std::string pattern = EntryPattern(entry, executableSuffix);
        std::vector<ProcessEntry> asked;
        for (int repeat = 0; repeat <= kMaxRepeats; ++repeat) {
            const std::vector<ProcessEntry> now = processes.list();
            const auto found = std::find_if(now.begin(), now.end(), [&](const ProcessEntry& p) {
                return mayEnd(p, processes, keep) && PatternMatches(pattern, p.name) &&
                       std::none_of(asked.begin(), asked.end(),
                                    [&](const ProcessEntry& a) { return same(a, p); });
            });
            if (found == now.end() || !processes.signal(*found, false)) {
                break;
            }
            asked.push_back(*found);
            if (!wait(0)) {
                return;
            }
        }
        // The grace, watched with the window's events running.
        const std::int64_t deadline = clock.tickMs() + kKillGraceMs;
        auto anyRunning = [&] {
            return std::any_of(asked.begin(), asked.end(),
                               [&](const ProcessEntry& p) { return processes.running(p); });
        };
        while (anyRunning() && clock.tickMs() < deadline) {
            if (!wait(50)) {
                return;
            }
        }
        for (const ProcessEntry& p : asked) {
            if (processes.running(p)) {
                processes.signal(p, true);
            }
        }
    }
}
