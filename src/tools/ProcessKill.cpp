#include "tools/ProcessKill.h"

#include "tools/KillList.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kMaxRepeats = 100;

bool mayEnd(const ProcessEntry& p, IProcesses& processes) {
    // An entry like "*" must not end the session, the system or ourselves.
    return p.pid != processes.selfPid() && p.pid > 1 && !p.kernelThread && !p.zombie &&
           p.uid == processes.selfUid();
}

bool same(const ProcessEntry& a, const ProcessEntry& b) {
    return a.pid == b.pid && a.started == b.started;
}

} // namespace

void KillListedProcesses(std::string_view listText, IProcesses& processes, IClock& clock,
                         const std::string& executableSuffix, const std::function<bool(int)>& wait) {
    for (const std::string& entry : KillListEntries(listText)) {
        const std::string pattern = EntryPattern(entry, executableSuffix);
        std::vector<ProcessEntry> asked;
        for (int repeat = 0; repeat <= kMaxRepeats; ++repeat) {
            const std::vector<ProcessEntry> now = processes.list();
            const auto found = std::find_if(now.begin(), now.end(), [&](const ProcessEntry& p) {
                return mayEnd(p, processes) && PatternMatches(pattern, p.name) &&
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
