// The main window bound to fakes of the platform, drawn offscreen: the
// layouts, the sampler's bindings, start-up and shutdown.
#include "app/TestWindow.h"
#include "display/GraphView.h"
#include "display/Layout.h"
#include "fakes/FakePlatform.h"
#include "monitor/TrafficMonitor.h"
#include "placement/Placement.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Runs the event loop until done() holds or ms milliseconds have passed.
bool spinUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) {
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return done();
}

int screenWidth() {
    return QGuiApplication::primaryScreen()->geometry().width();
}

TEST(frmMain, StartsWithTheNormalLabelsPlacedAndColoured) {
    FakePlatform fake;
    fake.settings().put("SmallUI", "0");
    TestWindow window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    EXPECT_EQ(window.windowTitle(), "Trafalo");
    EXPECT_EQ(window.size(), QSize(366, 217));
    for (const ControlSpec& control : NormalLayoutLabels()) {
        QLabel* label = window.Label(control.name);
        ASSERT_NE(label, nullptr) << control.name;
        EXPECT_EQ(label->geometry(), QRect(control.left, control.top, control.width, control.height))
            << control.name;
        EXPECT_EQ(label->palette().color(QPalette::WindowText),
                  QColor(control.fore.r, control.fore.g, control.fore.b))
            << control.name;
        EXPECT_EQ(label->font().pixelSize(), PointsToPixels(control.points)) << control.name;
        EXPECT_EQ(label->font().bold(), control.bold) << control.name;
    }
    EXPECT_EQ(window.Label("lblSpeed(0)")->parentWidget()->geometry(), QRect(0, 138, 366, 77));
    QComboBox* list = window.Controls().ConnectionList();
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->itemText(1), " Intel Ethernet (eth0)");
    EXPECT_EQ(list->currentIndex(), 0);
    EXPECT_EQ(list->geometry(), QRect(42, 31, 457, 24));
    // Right-most place: screen width - window width - 120 pixels, at the top.
    EXPECT_EQ(window.pos(), QPoint(screenWidth() - 366 - 120, 0));
    window.Form_Unload();
}

TEST(frmMain, AnEmptyStoreStartsTinyOnTopTransparentWithEveryCheck) {
    FakePlatform fake;
    TestWindow window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    EXPECT_EQ(window.DisplayMode, 2);
    EXPECT_EQ(window.size(), QSize(140, 26)); // "Show Bandwidth" is on by default
    EXPECT_EQ(window.pos(), QPoint(screenWidth() - 140 - 120, 0));
    EXPECT_FALSE(window.Label("lblSpeed(0)")->isVisibleTo(&window));
    const Options& o = window.CurrentOptions();
    EXPECT_TRUE(o.alwaysOnTop && o.transparent && o.soundOnError && o.showExtendedButton && o.showBandwidth &&
                o.battery && o.showRealIP && o.analogTrayIcon && o.startWithWindows);
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 120.0 / 255.0);
    EXPECT_EQ(window.Monitor().Selection().ListIndex(), 0);
    window.Form_Unload();
}

struct ModeCase {
    std::int32_t mode;
    bool bandwidth;
    QSize window;
    QRect graph;
};

TEST(frmMain, DisplayModesSizeTheWindowAndGraph) {
    const ModeCase cases[] = {
        {0, true, {366, 217}, {0, 138, 366, 77}},
        {1, true, {366, 77}, {0, 0, 366, 77}},
        {2, true, {140, 26}, {0, 0, 140, 26}},
        {2, false, {120, 26}, {0, 0, 120, 26}},
    };
    for (const ModeCase& c : cases) {
        FakePlatform fake;
        fake.settings().put("ShowBandwidth", c.bandwidth ? "True" : "False");
        fake.settings().put("SmallUI", std::to_string(c.mode));
        TestWindow window(fake.platform);
        ASSERT_TRUE(window.Form_Load());
        EXPECT_EQ(window.size(), c.window) << c.mode;
        EXPECT_EQ(window.Controls().Graph()->geometry(), c.graph) << c.mode;
        EXPECT_EQ(window.Monitor().Display().Graph().size(), c.graph.size()) << c.mode;
        window.Form_Unload();
    }
    // A mode out of range changes no size but is kept; the next double click goes to Normal.
    FakePlatform fake;
    fake.settings().put("SmallUI", "1");
    TestWindow window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    window.SetDisplayMode(7);
    EXPECT_EQ(window.DisplayMode, 7);
    EXPECT_EQ(window.size(), QSize(366, 77));
    for (const std::int32_t next : {0, 1, 2, 0}) {
        window.picGraph_DblClick();
        EXPECT_EQ(window.DisplayMode, next);
    }
    window.Form_Unload();
}

TEST(frmMain, ALayoutThatGrowsPastTheEdgeIsPulledBack) {
    // Tiny at the top right, then Normal: 366 px wide, its right edge past the screen's.
    FakePlatform fake;
    TestWindow window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    window.show();
    for (int i = 0; i < 5 && window.Place().FormMoveTimerActive(); ++i) {
        window.Place().tmrFormMove_Timer();
    }
    ASSERT_FALSE(window.Place().FormMoveTimerActive());
    window.picGraph_DblClick();
    ASSERT_EQ(window.DisplayMode, 0);
    EXPECT_TRUE(spinUntil([&] { return window.pos().x() == screenWidth() - 366; }, 1000)) << window.pos().x();
    window.Form_Unload();
}

TEST(frmMain, EveryMenuItemHasOneOwner) {
    for (const bool hidden : {false, true}) {
        FakePlatform fake;
        fake.settings().put("Tray", hidden ? "True" : "False");
        TestWindow window(fake.platform);
        ASSERT_TRUE(window.Form_Load());
        if (!hidden) {
            window.show();
        }
        EXPECT_EQ(window.MenuProblems(), std::vector<std::string>{}) << hidden;
        window.Form_Unload();
    }
    FakePlatform fake;
    TestWindow window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    EXPECT_FALSE(window.RunMenuCommand("mnuNoSuchCommand"));
    window.Form_Unload();
}

TEST(frmMain, TheTrayIconShowsTheWindowOnALeftPressOnly) {
    FakePlatform fake;
    fake.settings().put("Tray", "True");
    TestWindow window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    ASSERT_TRUE(window.Tray().StartsHidden());
    window.Tray().picTray_MouseMove(512); // pointer move: ignored
    window.Tray().picTray_MouseMove(515); // double click: ignored
    EXPECT_FALSE(window.isVisible());
    window.Tray().picTray_MouseMove(513);
    EXPECT_TRUE(window.isVisible());
    window.Form_Unload();
    EXPECT_EQ(fake.settings().main("Tray"), "False");
}

TEST(frmMain, WithoutANotificationAreaTheWindowStaysReachable) {
    // Saved hidden, but nothing could show the icon: the window starts shown.
    FakePlatform fake;
    fake.settings().put("Tray", "True");
    TestWindow window(fake.platform);
    window.trayAvailable = false;
    ASSERT_TRUE(window.Form_Load());
    EXPECT_FALSE(window.Tray().StartsHidden());
    window.show();
    window.RunMenuCommand("mnuPopupHide");
    EXPECT_TRUE(window.isVisible()); // hiding is refused
    // Hidden while there was one, and the notification area goes away: the window comes back.
    window.trayAvailable = true;
    window.RunMenuCommand("mnuPopupHide");
    ASSERT_FALSE(window.isVisible());
    window.trayAvailable = false;
    EXPECT_TRUE(spinUntil([&] { return window.isVisible(); }, 3000));
    window.Form_Unload();
    EXPECT_EQ(fake.settings().main("Tray"), "False");
}

TEST(frmMain, HiddenSamplesUpdateTheIconAndItsTip) {
    FakePlatform fake;
    fake.settings().put("Tray", "True");
    fake.settings().put("Connection", "1");
    TestWindow window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    for (int i = 0; i < 3; ++i) {
        fake.table().rows[1].octetsIn += 1536;
        fake.clock().seconds += 1;
        window.Monitor().Sampler().tmrUpdate_Timer();
    }
    EXPECT_EQ(window.Tray().Icon()->toolTip(), "Trafalo\nDownload: 1.50 KB/s \nUpload: 0 B/s ");
    EXPECT_EQ(window.Monitor().Display().Background(), QColor(0, 0, 0));
    window.Form_Unload();
    EXPECT_EQ(fake.settings().main("Tray"), "True");
}

TEST(frmMain, TheUpdateTimerWakesOnceASecondAndKeepsGoingAfterAnIdleTick) {
    FakePlatform fake;
    fake.settings().put("Connection", "1");
    fake.clock().wallFraction = 500;
    TestWindow window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    EXPECT_GT(window.Monitor().UpdateTimerRemainingMs(), 400);
    EXPECT_LE(window.Monitor().UpdateTimerRemainingMs(), 520);

    // 10 ms before the next second: the timer fires within 30 ms, finds the
    // same second, takes nothing and waits for the turn again.
    fake.clock().wallFraction = 990;
    window.Form_Unload();
    TestWindow again(fake.platform);
    ASSERT_TRUE(again.Form_Load());
    const int reads = fake.table().reads;
    spinUntil([] { return false; }, 100);
    EXPECT_EQ(fake.table().reads, reads);
    EXPECT_GT(again.Monitor().UpdateTimerRemainingMs(), 0);

    // The first sample shows the whole counter: 2048 + 1536 bytes.
    fake.clock().seconds += 1;
    fake.table().rows[1].octetsIn += 1536;
    EXPECT_TRUE(spinUntil([&] { return again.Label("lblDSpeed")->text() == "3.50 KB/s "; }, 1000));
    EXPECT_GT(again.Monitor().UpdateTimerRemainingMs(), 0);
    again.Form_Unload();
    EXPECT_EQ(again.Monitor().UpdateTimerRemainingMs(), -1);
}

TEST(frmMain, SamplesReachTheLabels) {
    FakePlatform fake;
    fake.settings().put("Connection", "1");
    TestWindow window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    EXPECT_EQ(window.Controls().ConnectionList()->currentIndex(), 1);
    fake.clock().seconds += 1;
    window.Monitor().Sampler().tmrUpdate_Timer();
    EXPECT_EQ(window.Label("lblRecv")->text(), "2 KB");
    EXPECT_EQ(window.Label("lblDSpeed")->text(), "2.00 KB/s ");
    EXPECT_EQ(window.Label("lblUSpeed")->text(), "1000 B/s ");
    EXPECT_EQ(window.Label("lblTitle(5)")->toolTip(), "Speed: 1,000.0 Mbps");
    EXPECT_EQ(window.Label("lblSpeed(0)")->text(), "Top download speed:");

    fake.table().rows[1].octetsIn += 3 * 1048576;
    fake.clock().seconds += 1;
    window.Monitor().Sampler().tmrUpdate_Timer();
    EXPECT_EQ(window.Label("lblDSpeed")->text(), "3.00 MB/s ");
    EXPECT_EQ(window.Label("lblSpeed(0)")->text(), "Top download speed: 3,072.00 Kb/s");
    EXPECT_EQ(window.Label("lblSpeed(0)")->toolTip(), "Top download speed: 3,072.00 Kb/s");
    window.Form_Unload();
}

TEST(frmMain, EveryNumberUsesTheUsersSeparators) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    FakePlatform fake;
    fake.settings().put("Connection", "1");
    fake.settings().put("SmallUI", "0");
    fake.system().memoryEx = MemoryStatusEx{50, 2048ULL << 20, 1024ULL << 20, 0, 0, 0, 0};
    TestWindow window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    window.show();
    for (int i = 0; i < 2; ++i) {
        fake.table().rows[1].octetsIn += 1536;
        fake.clock().seconds += 1;
        window.Monitor().Sampler().tmrUpdate_Timer();
    }
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(window.Label("lblDSpeed")->text(), "1,50 KB/s ");
    EXPECT_EQ(window.Controls().Graph()->toolTip().toStdString(),
              "DL: 1,50 KB/s   UL: 0 B/s   CPU: 0%    RAM: 50% - 1024,0 MB of 2048,0 MB");
    EXPECT_EQ(window.Monitor().Display().TrayDigits(1536), "1,5");
    window.Form_Unload();
}

TEST(frmMain, InterfaceNamesShowAsWritten) {
    FakePlatform fake;
    fake.table().rows[1].description = "R&D <b>lan</b>";
    fake.settings().put("Connection", "1");
    fake.settings().put("SmallUI", "0");
    TestWindow window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    window.show();
    const QString tip = window.Controls().ConnectionList()->toolTip();
    EXPECT_TRUE(tip.contains(QStringLiteral("R&amp;D &lt;b&gt;lan&lt;/b&gt;"))) << tip.toStdString();
    window.picTray_Click();
    QAction* card = nullptr;
    for (QAction* a : window.PopupMenu()->findChildren<QAction*>(QStringLiteral("mnuNetCard"))) {
        card = a->data().toInt() == 1 ? a : card;
    }
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->text(), "R&&D <b>lan</b>"); // shown as "R&D <b>lan</b>"
    window.PopupMenu()->close();
    window.Form_Unload();
}

TEST(frmMain, AFirstStartShowsTheDefaultRoutesInterface) {
    FakePlatform fake;
    for (std::size_t i = 0; i < fake.table().rows.size(); ++i) {
        fake.table().rows[i].index = static_cast<std::int32_t>(i + 1);
    }
    fake.table().defaultRoute = 2;
    TestWindow window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    EXPECT_EQ(window.Controls().ConnectionList()->currentText(), " Intel Ethernet (eth0)");
    window.Form_Unload();
    EXPECT_EQ(fake.settings().main("Connection"), "1");
}

TEST(frmMain, PickingInTheListSelectsAndSaves) {
    FakePlatform fake;
    TestWindow window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    emit window.Controls().ConnectionList()->activated(2);
    EXPECT_EQ(window.Monitor().Selection().ListIndex(), 2);
    EXPECT_EQ(fake.settings().main("Connection"), "2");
    EXPECT_TRUE(window.Monitor().Selection().MenuItems()[2].checked);
    window.Form_Unload();
}

TEST(frmMain, ShutdownSavesEveryKeyOnce) {
    FakePlatform fake;
    fake.settings().put("Sound", "False");
    fake.settings().put("SmallUI", "1");
    fake.settings().put("Left", "1500");
    fake.settings().put("Top", "300");
    TestWindow window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    fake.settings().writes.clear();
    window.Form_Unload();
    window.Form_Unload(); // a second unload (close after Exit) saves nothing more
    ASSERT_EQ(fake.settings().writes.size(), 13u);
    EXPECT_EQ(fake.settings().batches, 1); // one write of the whole list
    EXPECT_EQ(fake.settings().writes.front().first, "Connection");
    EXPECT_EQ(fake.settings().writes.back().first, "ShowRealIP");
    EXPECT_EQ(fake.settings().main("Left"), "1500");
    EXPECT_EQ(fake.settings().main("Top"), "0");
    EXPECT_EQ(fake.settings().main("Sound"), "False");
    EXPECT_EQ(fake.settings().main("SmallUI"), "1");
    EXPECT_EQ(fake.settings().main("Tray"), "True"); // never shown in this test: hidden
    EXPECT_EQ(fake.settings().main("Connection"), "0");
}

TEST(frmMain, AChangeIsSavedSoonWithoutWaitingForTheExit) {
    FakePlatform fake;
    TestWindow window(fake.platform);
    window.SaveDelayMs = 20;
    ASSERT_TRUE(window.Form_Load());
    window.show();
    spinUntil([] { return false; }, 100); // the start's own settling
    EXPECT_EQ(fake.settings().batches, 0);
    window.RunMenuCommand("mnuPopupSound");
    window.RunMenuCommand("mnuBattery");
    EXPECT_TRUE(spinUntil([&] { return fake.settings().batches == 1; }, 1000)); // both in one write
    EXPECT_EQ(fake.settings().main("Sound"), "False");
    EXPECT_EQ(fake.settings().main("Battery"), "False");
    window.move(300, 200); // a move ends: the new place is saved
    EXPECT_TRUE(spinUntil([&] { return fake.settings().main("Left") == "4500"; }, 1000));
    const int batches = fake.settings().batches;
    window.RunMenuCommand("mnuPopupSound");
    window.RunMenuCommand("mnuPopupSound"); // back as it was: nothing to write
    spinUntil([] { return false; }, 200);
    EXPECT_EQ(fake.settings().batches, batches);
    window.Form_Unload();
}

TEST(frmMain, AnotherInstanceEndsTheStart) {
    FakePlatform fake;
    static_cast<FakeInstanceLock&>(*fake.platform.instanceLock).taken = true;
    TestWindow window(fake.platform);
    EXPECT_FALSE(window.Form_Load());
    EXPECT_EQ(fake.table().reads, 0);
    window.Form_Unload();
    EXPECT_TRUE(fake.settings().writes.empty());
}

TEST(frmMain, AnEmptyTableLeavesAnIdleMonitor) {
    FakePlatform fake;
    fake.table().rows.clear();
    TestWindow window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    EXPECT_EQ(window.Controls().ConnectionList()->count(), 0);
    const int reads = fake.table().reads;
    fake.clock().seconds += 10;
    window.Monitor().Sampler().tmrUpdate_Timer();
    EXPECT_EQ(fake.table().reads, reads);
    window.Form_Unload();
    EXPECT_EQ(fake.settings().main("Connection"), "-1");
}

} // namespace
