// Prints what one sample costs on the real Linux layer: the sampler tick at
// 4, 100 and 1000 interfaces (in a network namespace of its own, as root),
// the table read beside a plain /proc/net/dev read, and the processor and
// memory readings.
#include "metrics/CPULoad.h"
#include "metrics/MemoryStatus.h"
#include "net/SamplerFixture.h"
#include "platform/linux/FileReader.h"
#include "platform/linux/LinuxNetworkTable.h"
#include "platform/linux/LinuxSystemInfo.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sched.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct Figures {
    double median, p99;
};

Figures measure(int runs, const std::function<void()>& work) {
    std::vector<double> us;
    us.reserve(static_cast<std::size_t>(runs));
    for (int i = 0; i < 20; ++i) {
        work(); // warm up
    }
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const auto end = std::chrono::steady_clock::now();
        us.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    std::sort(us.begin(), us.end());
    return {us[us.size() / 2], us[us.size() * 99 / 100]};
}

// A plain /proc/net/dev read and parse: the cheapest other way to counters.
std::size_t readProcNetDev(std::string& text) {
    ReadSmallFile("/proc/net/dev", text, 4 << 20);
    std::size_t rows = 0;
    std::size_t at = 0;
    unsigned long long rx = 0, tx = 0;
    while ((at = text.find('\n', at)) != std::string::npos) {
        ++at;
        const std::size_t colon = text.find(':', at);
        if (colon == std::string::npos) {
            break;
        }
        unsigned long long f[9] = {};
        if (std::sscanf(text.c_str() + colon + 1, "%llu %llu %llu %llu %llu %llu %llu %llu %llu", &f[0],
                        &f[1], &f[2], &f[3], &f[4], &f[5], &f[6], &f[7], &f[8]) == 9) {
            rx += f[0];
            tx += f[8];
            ++rows;
        }
    }
    return rows + static_cast<std::size_t>((rx + tx) & 1);
}

void addInterfaces(int total) {
    const std::string batch = "/tmp/trafalo-bench-" + std::to_string(::getpid());
    std::ofstream file(batch);
    for (int i = 0; i < total; ++i) {
        file << "link add b" << ::getpid() << "x" << total << "x" << i << " type ifb\n";
    }
    file.close();
    if (std::system(("ip -batch " + batch + " >/dev/null 2>&1").c_str()) != 0) {
        std::fprintf(stderr, "could not add interfaces\n");
    }
    std::remove(batch.c_str());
}

int currentCount() {
    LinuxNetworkTable table;
    return static_cast<int>(table.readTable().value_or(std::vector<IfRow>{}).size());
}

} // namespace

int main() {
    const bool isolated = ::geteuid() == 0 && ::unshare(CLONE_NEWNET) == 0;
    if (!isolated) {
        std::printf("(not root: measuring the machine's own interfaces only)\n");
    }
    std::printf("%-44s %10s %10s\n", "", "median us", "p99 us");
    for (const int want : {4, 100, 1000}) {
        if (isolated) {
            addInterfaces(want - currentCount());
        }
        const int count = currentCount();
        LinuxNetworkTable table;
        SamplerRig rig(table);
        rig.selection.SetListIndex(rig.selection.ListCount() - 1);
        const Figures tick = measure(count >= 1000 ? 1000 : 5000, [&] { rig.tick(); });
        std::printf("sampler tick, %4d interfaces                %10.1f %10.1f\n", count, tick.median,
                    tick.p99);

        const Figures read = measure(1000, [&] { table.readTable(); });
        std::string text;
        const Figures dev = measure(1000, [&] { readProcNetDev(text); });
        std::printf("table read,   %4d interfaces                %10.1f %10.1f\n", count, read.median,
                    read.p99);
        std::printf("/proc/net/dev read+parse, %4d interfaces    %10.1f %10.1f   (table/procfs %.2f)\n",
                    count, dev.median, dev.p99, read.median / dev.median);
        if (!isolated) {
            break;
        }
    }

    LinuxSystemInfo system;
    CPULoad load(system);
    const Figures metrics = measure(5000, [&] {
        load.GetAllCPUUsage();
        CurrentMemoryStatus = GetMemoryStatus(system);
    });
    std::printf("GetAllCPUUsage + GetMemoryStatus             %10.1f %10.1f\n", metrics.median, metrics.p99);
    const Figures cpu = measure(5000, [&] { load.GetAllCPUUsage(); });
    const Figures memory = measure(5000, [&] { CurrentMemoryStatus = GetMemoryStatus(system); });
    std::printf("  of which GetAllCPUUsage                    %10.1f %10.1f\n", cpu.median, cpu.p99);
    std::printf("  of which GetMemoryStatus                   %10.1f %10.1f\n", memory.median, memory.p99);
    return 0;
}
