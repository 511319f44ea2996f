// A simulated day in the notification area: 86,400 samples at one a second
// on a fake clock, the window hidden so the icon is redrawn on every sample,
// and four hours shown in the Normal and Tiny layouts. Prints how much the
// process grew between the 3000th sample and the last (the budget is 2 MiB);
// run under LeakSanitizer for the leaks themselves.
//   QT_QPA_PLATFORM=offscreen bench_soak
#include "app/TestWindow.h"
#include "fakes/FakePlatform.h"
#include "monitor/TrafficMonitor.h"

#include <QApplication>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

long residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

struct SoakCase {
    const char* what;
    bool hidden;
    const char* mode;
    int samples;
};

// Resident growth in KiB from the 3000th sample to the last; -1 when the
// window did not load.
long soak(const SoakCase& c) {
    FakePlatform fake;
    fake.settings().put("Tray", c.hidden ? "True" : "False");
    fake.settings().put("SmallUI", c.mode);
    fake.system().memoryEx = MemoryStatusEx{40, 8ULL << 30, 5ULL << 30, 0, 0, 0, 0};
    fake.system().block.clear();
    TestWindow window(fake.platform);
    if (!window.Form_Load()) {
        return -1;
    }
    if (!c.hidden) {
        window.show();
    }
    long before = 0;
    std::uint64_t in = 0;
    std::uint64_t out = 0;
    for (int second = 1; second <= c.samples; ++second) {
        // A busy hour, an idle one: both icon kinds are made through the day.
        const bool busy = (second / 3600) % 2 == 0;
        const auto s = static_cast<std::uint64_t>(second);
        in += busy ? 100000 + (s * 7919) % 900000 : 0;
        out += busy ? 20000 + (s * 104729) % 90000 : 0;
        fake.table().rows[0].octetsIn = in;
        fake.table().rows[0].octetsOut = out;
        fake.clock().seconds += 1;
        window.Monitor().Sampler().tmrUpdate_Timer();
        QCoreApplication::processEvents(); // paints what the sample changed
        if (second == 3000) {
            before = residentKiB();
        }
    }
    const long grown = residentKiB() - before;
    window.Form_Unload();
    return grown;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const SoakCase cases[] = {{"a day hidden in the tray", true, "0", 86400},
                              {"four hours shown, Normal", false, "0", 14400},
                              {"four hours shown, Tiny", false, "2", 14400}};
    std::printf("%-28s %12s %10s\n", "case", "grown KiB", "budget");
    for (const SoakCase& c : cases) {
        std::printf("%-28s %12ld %10d\n", c.what, soak(c), 2048);
    }
    return 0;
}
