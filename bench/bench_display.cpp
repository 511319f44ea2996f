// Prints what the per-sample display costs in the real window, drawn
// offscreen: RefreshTrafficDisplay whole (graph, tray picture, tooltip and,
// while hidden, the hand-off to the notification-area icon).
#include "app/WindowCommands.h"
#include "app/frmMain.h"
#include "display/GraphView.h"
#include "monitor/TrafficMonitor.h"
#include "placement/Placement.h"
#include "platform/Platform.h"
#include "tray/TrayIcon.h"

#include <QApplication>
#include <QDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

void measure(const char* what, frmMain& window, int runs) {
    std::vector<double> us;
    std::int32_t download = 0;
    std::int32_t upload = 0;
    for (int i = 0; i < runs + 50; ++i) {
        window.Monitor().Sampler().SkipNextSample = false;
        download = (i * 7919) % 2000000;
        upload = (i * 104729) % 300000;
        const auto start = std::chrono::steady_clock::now();
        window.Monitor().RefreshTrafficDisplay(download, upload);
        const auto end = std::chrono::steady_clock::now();
        QCoreApplication::processEvents();
        if (i >= 50) {
            us.push_back(std::chrono::duration<double, std::micro>(end - start).count());
        }
    }
    std::sort(us.begin(), us.end());
    std::printf("%-48s %10.1f %10.1f\n", what, us[us.size() / 2], us[us.size() * 99 / 100]);
}

// One whole sample as the timer runs it, then the paint it causes.
void measureTick(const char* what, frmMain& window, int runs) {
    std::vector<double> us;
    for (int i = 0; i < runs + 20; ++i) {
        window.Monitor().Sampler().LastSampleTime -= 1; // the clock's second has changed
        const auto start = std::chrono::steady_clock::now();
        window.Monitor().Sampler().tmrUpdate_Timer();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        const auto end = std::chrono::steady_clock::now();
        if (i >= 20) {
            us.push_back(std::chrono::duration<double, std::micro>(end - start).count());
        }
    }
    std::sort(us.begin(), us.end());
    std::printf("%-48s %10.1f %10.1f\n", what, us[us.size() / 2], us[us.size() * 99 / 100]);
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    qputenv("XDG_CONFIG_HOME", "/tmp/trafalo-bench-config");
    qputenv("XDG_RUNTIME_DIR", "/tmp/trafalo-bench-run");
    QDir().mkpath(QStringLiteral("/tmp/trafalo-bench-run"));
    QApplication app(argc, argv);
    std::printf("%-48s %10s %10s\n", "RefreshTrafficDisplay", "median us", "p99 us");
    for (const int mode : {0, 2}) {
        Platform platform = createPlatform(); // each window takes the instance lock
        frmMain window(platform);
        if (!window.Form_Load()) {
            return 1;
        }
        std::int32_t m = mode;
        window.SetDisplayMode(m);
        window.show();
        measure(mode == 0 ? "visible, Normal" : "visible, Tiny with bandwidth", window, 3000);
        measureTick(mode == 0 ? "  whole tick with paint, Normal" : "  whole tick with paint, Tiny", window,
                    500);
        window.Tray().Available = [] { return true; };
        window.RunMenuCommand("mnuPopupHide"); // into the notification area
        measure(mode == 0 ? "hidden, Normal (tray icon each sample)" : "hidden, Tiny (tray icon each sample)",
                window, 3000);
        window.Form_Unload();
    }
    return 0;
}
