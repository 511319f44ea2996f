// A simulated day in the notification area: 86,400 samples at one a second
// on a fake clock, the window hidden so the icon is redrawn on every sample.
// The process may grow by at most 2 MiB; LeakSanitizer checks the rest.
#include "app/TestWindow.h"
#include "app/WindowCommands.h"
#include "display/GraphView.h"
#include "monitor/TrafficMonitor.h"
#include "placement/Placement.h"
#include "tray/TrayIcon.h"

#include "fakes/FakePlatform.h"

#include <QApplication>
#include <QSystemTrayIcon>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
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

class Soak : public testing::TestWithParam<SoakCase> {};

TEST_P(Soak, CostsNoMemory) {
    const SoakCase& c = GetParam();
    FakePlatform fake;
    fake.settings().put("Tray", c.hidden ? "True" : "False");
    fake.settings().put("SmallUI", c.mode);
    fake.system().memoryEx = MemoryStatusEx{40, 8ULL << 30, 5ULL << 30, 0, 0, 0, 0};
    fake.system().block.clear();
    TestWindow window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    ASSERT_EQ(window.Tray().StartsHidden(), c.hidden);
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
    const long after = residentKiB();
    std::printf("%s: resident after 3000 samples %ld KiB, at the end %ld KiB\n", c.what, before, after);
    if (c.hidden) {
        EXPECT_FALSE(window.Tray().Icon()->icon().isNull());
    }
#if defined(__SANITIZE_ADDRESS__)
    (void)after; // the sanitizer's own bookkeeping grows the process; leaks are its to find
#else
    EXPECT_LE(after - before, 2048) << "resident " << before << " KiB -> " << after << " KiB";
#endif
    window.Form_Unload();
}

// A day in the tray (the icon redrawn every sample), and a few hours shown in
// each layout.
INSTANTIATE_TEST_SUITE_P(Days, Soak,
                         testing::Values(SoakCase{"a day hidden in the tray", true, "0", 86400},
                                         SoakCase{"four hours shown, Normal", false, "0", 14400},
                                         SoakCase{"four hours shown, Tiny", false, "2", 14400}));

} // namespace
