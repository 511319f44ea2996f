#pragma once
// Processes the test lists; a signal ends one unless it ignores SIGTERM.
#include "platform/IProcesses.h"

#include <algorithm>
#include <set>
#include <string>

class FakeProcesses : public IProcesses {
public:
    std::vector<ProcessEntry> list() override { return table; }
    std::int32_t selfPid() override { return 100; }
    std::uint32_t selfUid() override { return 1000; }
    std::vector<std::int32_t> sessionServers() override { return servers; }
    bool signal(const ProcessEntry& p, bool force) override {
        sent.push_back((force ? "KILL " : "TERM ") + std::to_string(p.pid));
        if (force || !stubborn.count(p.pid)) {
            table.erase(std::remove_if(table.begin(), table.end(),
                                       [&](const ProcessEntry& e) { return e.pid == p.pid; }),
                        table.end());
        }
        return true;
    }
    bool running(const ProcessEntry& p) override {
        return std::any_of(table.begin(), table.end(), [&](const ProcessEntry& e) { return e.pid == p.pid; });
    }
    void add(std::int32_t pid, std::string name, std::uint32_t uid = 1000, bool kernel = false,
             std::int32_t parent = 1) {
        table.push_back(
            {pid, static_cast<std::uint64_t>(pid) * 10, std::move(name), uid, parent, kernel, false});
    }
    std::vector<ProcessEntry> table;
    std::set<std::int32_t> stubborn; // ignore SIGTERM
    std::vector<std::string> sent;
    std::vector<std::int32_t> servers; // the session's servers
};
