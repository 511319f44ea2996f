// The main window bound to fakes of the platform, drawn offscreen.
#include "app/frmMain.h"

#include "display/Layout.h"
#include "fakes/FakePlatform.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
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

QColor fore(QLabel* label) {
    return label->palette().color(QPalette::WindowText);
}

TEST(frmMain, StartsWithTheNormalLabelsPlacedAndColoured) {
    FakePlatform fake;
    fake.settings().put("SmallUI", "0");
    frmMain window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    EXPECT_EQ(window.windowTitle(), "Trafalo");
    EXPECT_EQ(window.size(), QSize(366, 217));
    for (const ControlSpec& control : NormalLayoutLabels()) {
        QLabel* label = window.Label(std::string(control.name));
        ASSERT_NE(label, nullptr) << control.name;
        EXPECT_EQ(label->geometry(), QRect(control.left, control.top, control.width, control.height))
            << control.name;
        EXPECT_EQ(fore(label), QColor(control.fore.r, control.fore.g, control.fore.b)) << control.name;
        EXPECT_EQ(label->font().pixelSize(), PointsToPixels(control.points)) << control.name;
        EXPECT_EQ(label->font().bold(), control.bold) << control.name;
    }
    EXPECT_EQ(window.Label("lblSpeed(0)")->parentWidget()->geometry(), QRect(0, 138, 366, 77));
    EXPECT_EQ(window.Label("lblTitle(3)")->text(), "Download Speed");

    QComboBox* list = window.ConnectionList();
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->itemText(1), " Intel Ethernet (eth0)");
    EXPECT_EQ(list->currentIndex(), 0);
    EXPECT_EQ(list->geometry(), QRect(42, 31, 457, 24));

    // Right-most place: screen width - window width - 120 pixels, at the top.
    const int screenWidth = QGuiApplication::primaryScreen()->geometry().width();
    EXPECT_EQ(window.pos(), QPoint(screenWidth - 366 - 120, 0));
    window.Form_Unload();
}

TEST(frmMain, AnEmptyStoreStartsTinyAtTheTopRight) {
    FakePlatform fake;
    frmMain window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    EXPECT_EQ(window.DisplayMode, 2);
    EXPECT_TRUE(window.WindowTypeChecked(2));
    EXPECT_FALSE(window.WindowTypeChecked(0));
    EXPECT_EQ(window.size(), QSize(140, 26)); // "Show Bandwidth" is on by default
    const int screenWidth = QGuiApplication::primaryScreen()->geometry().width();
    EXPECT_EQ(window.pos(), QPoint(screenWidth - 140 - 120, 0));
    EXPECT_FALSE(window.Label("lblSpeed(0)")->isVisibleTo(&window));
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
        frmMain window(fake.platform);
        ASSERT_TRUE(window.Form_Load());
        EXPECT_EQ(window.size(), c.window) << c.mode;
        EXPECT_EQ(window.Graph()->geometry(), c.graph) << c.mode;
        EXPECT_EQ(window.Display().Graph().size(), c.graph.size()) << c.mode;
        for (int m = 0; m < 3; ++m) {
            EXPECT_EQ(window.WindowTypeChecked(m), m == c.mode);
        }
        window.Form_Unload();
    }
}

TEST(frmMain, AModeOutOfRangeChangesNoSizeButIsKept) {
    FakePlatform fake;
    fake.settings().put("SmallUI", "1");
    frmMain window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    std::int32_t mode = 7;
    window.SetDisplayMode(mode);
    EXPECT_EQ(window.DisplayMode, 7);
    EXPECT_EQ(window.size(), QSize(366, 77));
    for (int m = 0; m < 3; ++m) {
        EXPECT_FALSE(window.WindowTypeChecked(m));
    }
    window.picGraph_DblClick(); // the next double click goes to Normal
    EXPECT_EQ(window.DisplayMode, 0);
    window.picGraph_DblClick();
    EXPECT_EQ(window.DisplayMode, 1);
    window.picGraph_DblClick();
    EXPECT_EQ(window.DisplayMode, 2);
    window.Form_Unload();
}

struct GestureCase {
    std::int32_t mode;
    Qt::KeyboardModifiers keys;
    int x, y;
    int taskManagers;
    bool suppressed;
};

TEST(frmMain, GraphGesturesOfTheTinyMode) {
    const GestureCase cases[] = {
        {2, Qt::NoModifier, 125, 10, 1, true},      // the meters: Task Manager, no menu after
        {2, Qt::ControlModifier, 125, 10, 0, true}, // Ctrl there: the mute toggle
        {2, Qt::NoModifier, 105, 10, 0, true},      // the readouts: Free Memory
        {2, Qt::NoModifier, 10, 5, 0, false},       // top-left corner: eject only with Shift
        {2, Qt::NoModifier, 50, 20, 0, false},      // elsewhere: a drag
        {0, Qt::NoModifier, 125, 10, 0, false},     // not the Tiny mode: a drag
    };
    for (const GestureCase& c : cases) {
        FakePlatform fake;
        fake.settings().put("SmallUI", std::to_string(c.mode));
        frmMain window(fake.platform);
        ASSERT_TRUE(window.Form_Load());
        window.picGraph_MouseDown(Qt::LeftButton, c.keys, c.x, c.y);
        auto& shell = static_cast<FakeShell&>(*fake.platform.shell);
        EXPECT_EQ(shell.taskManagers, c.taskManagers) << c.x;
        EXPECT_EQ(window.SuppressNextMenu, c.suppressed) << c.x;
        window.picTray_Click(); // the release: clears the suppression instead of opening the menu
        EXPECT_FALSE(window.SuppressNextMenu);
        window.Form_Unload();
    }
}

TEST(frmMain, TheTrayIconShowsTheWindowOnALeftPressOnly) {
    FakePlatform fake;
    fake.settings().put("Tray", "True");
    frmMain window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    ASSERT_TRUE(window.StartsHidden());
    window.picTray_MouseMove(512); // pointer move: ignored
    window.picTray_MouseMove(515); // double click: ignored
    EXPECT_FALSE(window.isVisible());
    window.picTray_MouseMove(513);
    EXPECT_TRUE(window.isVisible());
    window.Form_Unload();
    EXPECT_EQ(fake.settings().main("Tray"), "False");
}

TEST(frmMain, HiddenSamplesUpdateTheIconAndItsTip) {
    FakePlatform fake;
    fake.settings().put("Tray", "True");
    fake.settings().put("Connection", "1");
    frmMain window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    for (int i = 0; i < 3; ++i) {
        fake.table().rows[1].octetsIn += 1536;
        fake.clock().seconds += 1;
        window.Sampler().tmrUpdate_Timer();
    }
    EXPECT_EQ(window.TrayIcon()->toolTip(), "Trafalo\nDownload: 1.50 KB/s \nUpload: 0 B/s ");
    EXPECT_EQ(window.Display().Background(), QColor(0, 0, 0));
    window.Form_Unload();
    EXPECT_EQ(fake.settings().main("Tray"), "True");
}

TEST(frmMain, TheUpdateTimerWakesOnceASecondAndKeepsGoingAfterAnIdleTick) {
    FakePlatform fake;
    fake.settings().put("Connection", "1");
    fake.clock().wallFraction = 500;
    frmMain window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    EXPECT_GT(window.UpdateTimerRemainingMs(), 400);
    EXPECT_LE(window.UpdateTimerRemainingMs(), 520);

    // 10 ms before the next second: the timer fires within 30 ms, finds the
    // same second, takes nothing and waits for the turn again.
    fake.clock().wallFraction = 990;
    window.Form_Unload();
    frmMain again(fake.platform);
    ASSERT_TRUE(again.Form_Load());
    const int reads = fake.table().reads;
    spinUntil([] { return false; }, 100);
    EXPECT_EQ(fake.table().reads, reads);
    EXPECT_GT(again.UpdateTimerRemainingMs(), 0);

    // The first sample shows the whole counter: 2048 + 1536 bytes.
    fake.clock().seconds += 1;
    fake.table().rows[1].octetsIn += 1536;
    EXPECT_TRUE(spinUntil([&] { return again.Label("lblDSpeed")->text() == "3.50 KB/s "; }, 1000));
    EXPECT_GT(again.UpdateTimerRemainingMs(), 0);
    again.Form_Unload();
    EXPECT_EQ(again.UpdateTimerRemainingMs(), -1);
}

TEST(frmMain, SamplesReachTheLabels) {
    FakePlatform fake;
    fake.settings().put("Connection", "1");
    frmMain window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    EXPECT_EQ(window.ConnectionList()->currentIndex(), 1);
    fake.clock().seconds += 1;
    window.Sampler().tmrUpdate_Timer();
    EXPECT_EQ(window.Label("lblRecv")->text(), "2 KB");
    EXPECT_EQ(window.Label("lblDSpeed")->text(), "2.00 KB/s ");
    EXPECT_EQ(window.Label("lblUSpeed")->text(), "1000 B/s ");
    EXPECT_EQ(window.Label("lblTitle(5)")->toolTip(), "Speed: 1,000.0 Mbps");
    EXPECT_EQ(window.Label("lblSpeed(0)")->text(), "Top download speed:");

    fake.table().rows[1].octetsIn += 3 * 1048576;
    fake.clock().seconds += 1;
    window.Sampler().tmrUpdate_Timer();
    EXPECT_EQ(window.Label("lblDSpeed")->text(), "3.00 MB/s ");
    EXPECT_EQ(window.Label("lblSpeed(0)")->text(), "Top download speed: 3,072.00 Kb/s");
    EXPECT_EQ(window.Label("lblSpeed(0)")->toolTip(), "Top download speed: 3,072.00 Kb/s");
    window.Form_Unload();
}

TEST(frmMain, PickingInTheListSelectsAndSaves) {
    FakePlatform fake;
    frmMain window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    emit window.ConnectionList()->activated(2);
    EXPECT_EQ(window.Selection().ListIndex(), 2);
    EXPECT_EQ(fake.settings().main("Connection"), "2");
    EXPECT_TRUE(window.Selection().MenuItems()[2].checked);
    window.Form_Unload();
}

TEST(frmMain, ShutdownSavesEveryKeyOnce) {
    FakePlatform fake;
    fake.settings().put("Sound", "False");
    fake.settings().put("SmallUI", "1");
    fake.settings().put("Left", "1500");
    fake.settings().put("Top", "300");
    frmMain window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    fake.settings().writes.clear();
    window.Form_Unload();
    window.Form_Unload(); // a second unload (close after Exit) saves nothing more
    ASSERT_EQ(fake.settings().writes.size(), 13u);
    EXPECT_EQ(fake.settings().main("Left"), "1500");
    EXPECT_EQ(fake.settings().main("Top"), "0");
    EXPECT_EQ(fake.settings().main("Sound"), "False");
    EXPECT_EQ(fake.settings().main("SmallUI"), "1");
    EXPECT_EQ(fake.settings().main("Tray"), "True"); // never shown in this test: hidden
    EXPECT_EQ(fake.settings().main("Connection"), "0");
}

TEST(frmMain, AnotherInstanceEndsTheStart) {
    FakePlatform fake;
    static_cast<FakeInstanceLock&>(*fake.platform.instanceLock).taken = true;
    frmMain window(fake.platform);
    EXPECT_FALSE(window.Form_Load());
    EXPECT_EQ(fake.table().reads, 0);
    EXPECT_TRUE(fake.settings().writes.empty());
}

TEST(frmMain, AnEmptyTableLeavesAnIdleMonitor) {
    FakePlatform fake;
    fake.table().rows.clear();
    frmMain window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    EXPECT_EQ(window.ConnectionList()->count(), 0);
    const int reads = fake.table().reads;
    fake.clock().seconds += 10;
    window.Sampler().tmrUpdate_Timer();
    EXPECT_EQ(fake.table().reads, reads);
    window.Form_Unload();
    EXPECT_EQ(fake.settings().main("Connection"), "-1");
}

} // namespace
