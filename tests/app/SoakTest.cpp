// A simulated day in the notification area: 86,400 samples at one a second
// on a fake clock, the window hidden so the icon is redrawn on every sample.
// The process may grow by at most 2 MiB; LeakSanitizer checks the rest.
#include "app/frmMain.h"

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

TEST(Soak, ADayInTheTrayCostsNoMemory) {
    FakePlatform fake;
    fake.settings().put("Tray", "True");
    fake.settings().put("SmallUI", "0");
    fake.system().memoryEx = MemoryStatusEx{40, 8ULL << 30, 5ULL << 30, 0, 0, 0, 0};
    fake.system().block.clear();
    frmMain window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    ASSERT_TRUE(window.StartsHidden());

    long before = 0;
    std::uint64_t in = 0;
    std::uint64_t out = 0;
    for (int second = 1; second <= 86400; ++second) {
        // A busy hour, an idle one: both icon kinds are made through the day.
        const bool busy = (second / 3600) % 2 == 0;
        const auto s = static_cast<std::uint64_t>(second);
        in += busy ? 100000 + (s * 7919) % 900000 : 0;
        out += busy ? 20000 + (s * 104729) % 90000 : 0;
        fake.table().rows[0].octetsIn = in;
        fake.table().rows[0].octetsOut = out;
        fake.clock().seconds += 1;
        window.Sampler().tmrUpdate_Timer();
        if (second % 64 == 0) {
            QCoreApplication::processEvents();
        }
        if (second == 3000) {
            before = residentKiB();
        }
    }
    const long after = residentKiB();
    std::printf("resident after 3000 samples: %ld KiB, after 86400: %ld KiB\n", before, after);
    EXPECT_FALSE(window.TrayIcon()->icon().isNull());
#if defined(__SANITIZE_ADDRESS__)
    (void)after; // the sanitizer's own bookkeeping grows the process; leaks are its to find
#else
    EXPECT_LE(after - before, 2048) << "resident " << before << " KiB -> " << after << " KiB";
#endif
    window.Form_Unload();
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
