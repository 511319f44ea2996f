// The work of one tick of the real window, counted in instructions: a fixed
// run of samples with fixed values on the platform's fakes, drawn offscreen.
// Under callgrind only the measured ticks are counted (the start, the warm-up
// and the end are left out), so the figure does not move with the machine's
// load; scripts/bench-instructions.sh runs it per layout and prints the
// budgets. Alone it prints the ticks' wall time.
//   QT_QPA_PLATFORM=offscreen bench_instructions normal|small|tiny|tray [TICKS]
#include "app/TestWindow.h"
#include "fakes/FakePlatform.h"
#include "monitor/TrafficMonitor.h"

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <valgrind/callgrind.h>

namespace {

struct Layout {
    const char* name;
    const char* smallUI;
    bool hidden;
};

constexpr Layout kLayouts[] = {
    {"normal", "0", false}, {"small", "1", false}, {"tiny", "2", false}, {"tray", "0", true}};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const Layout* layout = nullptr;
    for (const Layout& l : kLayouts) {
        layout = argc > 1 && std::strcmp(argv[1], l.name) == 0 ? &l : layout;
    }
    const int ticks = argc > 2 ? static_cast<int>(std::strtol(argv[2], nullptr, 10)) : 100;
    if (layout == nullptr || ticks <= 0) {
        std::fprintf(stderr, "usage: bench_instructions normal|small|tiny|tray [TICKS]\n");
        return 2;
    }
    FakePlatform fake;
    fake.settings().put("Connection", "1");
    fake.settings().put("SmallUI", layout->smallUI);
    fake.settings().put("Tray", layout->hidden ? "True" : "False");
    fake.system().memoryEx = MemoryStatusEx{40, 8ULL << 30, 5ULL << 30, 0, 0, 0, 0};
    TestWindow window(fake.platform);
    if (!window.Form_Load()) {
        return 1;
    }
    if (!layout->hidden) {
        window.show();
    }
    std::uint64_t in = 0;
    std::uint64_t out = 0;
    const auto tick = [&](int second) {
        const auto s = static_cast<std::uint64_t>(second);
        in += 100000 + (s * 7919) % 900000;
        out += 20000 + (s * 104729) % 90000;
        fake.table().rows[1].octetsIn = in;
        fake.table().rows[1].octetsOut = out;
        fake.clock().seconds += 1;
        window.Monitor().Sampler().tmrUpdate_Timer();
        QCoreApplication::processEvents(); // paints what the sample changed
    };
    for (int second = 1; second <= 130; ++second) { // past the graph's first screenful
        tick(second);
    }
    const auto start = std::chrono::steady_clock::now();
    CALLGRIND_TOGGLE_COLLECT;
    for (int second = 131; second < 131 + ticks; ++second) {
        tick(second);
    }
    CALLGRIND_TOGGLE_COLLECT;
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("%s: %d ticks in %.1f ms\n", layout->name, ticks, ms);
    window.Form_Unload();
    return 0;
}
