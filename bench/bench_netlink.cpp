// The interface table read with a thousand interfaces: in a network namespace
// of its own (root), 1000 ifb interfaces are made and the table is read 21
// times; prints how many of them each read found (all, in index order, is
// what the dump must give when it comes in many parts) and the read's median
// and slowest time.
//   bench_netlink [COUNT]
#include "platform/linux/LinuxNetworkTable.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sched.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

bool makeInterfaces(int count) {
    const std::string batch = "/tmp/trafalo-ifb-" + std::to_string(::getpid());
    {
        std::ofstream file(batch);
        for (int i = 0; i < count; ++i) {
            file << "link add m" << i << " type ifb\n";
        }
    }
    const bool made = std::system(("ip -batch " + batch + " >/dev/null 2>&1").c_str()) == 0;
    std::remove(batch.c_str());
    return made;
}

// How many of the made interfaces a read lists, in the order they were made.
int foundInOrder(const std::vector<IfRow>& rows) {
    int found = 0;
    for (const IfRow& row : rows) {
        if (row.name.rfind('m', 0) == 0 && row.name == "m" + std::to_string(found)) {
            ++found;
        }
    }
    return found;
}

} // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? static_cast<int>(std::strtol(argv[1], nullptr, 10)) : 1000;
    if (::geteuid() != 0 || ::unshare(CLONE_NEWNET) != 0 || !makeInterfaces(count)) {
        std::fprintf(stderr, "needs root to make a network namespace and ifb interfaces\n");
        return 77;
    }
    LinuxNetworkTable table;
    std::vector<double> ms;
    int least = count;
    for (int i = 0; i < 21; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const auto rows = table.readTable();
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        least = std::min(least, rows ? foundInOrder(*rows) : 0);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%d interfaces: every read found %d in order; read median %.2f ms, slowest %.2f ms\n", count,
                least, ms[ms.size() / 2], ms.back());
    return least == count ? 0 : 1;
}
