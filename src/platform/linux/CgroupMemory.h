#pragma once
// The memory limits that apply to this process: its cgroup and every parent,
// under cgroup v2 (memory.max, memory.current) or the v1 memory controller
// (memory.limit_in_bytes, memory.usage_in_bytes). Pure parsing here.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct CgroupFolder {
    std::string path; // e.g. /sys/fs/cgroup/user.slice/app.scope
    bool v2 = true;
    bool operator==(const CgroupFolder&) const = default;
};

// The folders from the process's own cgroup up to the root, from the text of
// /proc/self/cgroup: the v1 memory controller's line when there is one, else
// the v2 line, under root (normally /sys/fs/cgroup, or its memory or unified
// folder). A path with ".." is refused.
std::vector<CgroupFolder> CgroupMemoryFolders(std::string_view procSelfCgroup, const std::string& root);

// The room left under one folder's limit, from the texts of its limit and use
// files; none when there is no limit ("max", or v1's huge number) or the
// texts are not numbers.
std::optional<std::int64_t> CgroupRoom(std::string_view limit, std::string_view usage);
