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
#include <QTimer>
#include <QWindow>
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

TEST(frmMain, EveryMenuItemHasItsPlaceAndCommand) {
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

// Where the window manager placed or moved the window, Qt's own idea of the
// place can be stale: resizes, the Tiny menu and the saved place follow the
// display server. Where no server can tell (Wayland), Qt's idea stands.
TEST(frmMain, TheDisplayServersPlaceRulesResizesTheTinyMenuAndTheSave) {
    for (const bool serverTells : {true, false}) {
        FakePlatform fake;
        TestWindow window(fake.platform);
        ASSERT_TRUE(window.Form_Load());
        window.show();
        const QPoint qtPlace = window.geometry().topLeft();
        if (serverTells) {
            fake.windows().place = ScreenPoint{300, 200};
        }
        const QPoint want = serverTells ? QPoint(300, 200) : qtPlace;
        window.SetDisplayMode(0);
        EXPECT_EQ(window.geometry().topLeft(), want) << serverTells;
        EXPECT_EQ(window.windowHandle()->position(), want) << serverTells;
        window.SetDisplayMode(2);
        window.picTray_Click();
        ASSERT_NE(window.PopupMenu(), nullptr);
        EXPECT_EQ(window.PopupMenu()->pos(), want + QPoint(0, 26)) << serverTells;
        window.PopupMenu()->close();
        window.Form_Unload();
        EXPECT_EQ(fake.settings().main("Left"), std::to_string(want.x() * 15)) << serverTells;
        EXPECT_EQ(fake.settings().main("Top"), std::to_string(want.y() * 15)) << serverTells;
    }
}

// A panel restart: the window hidden in the notification area shows while
// the area is away and goes back in when it returns, as the user left it;
// an exit meanwhile saves it hidden.
TEST(frmMain, AWindowHiddenInTheAreaGoesBackInWhenTheAreaReturns) {
    FakePlatform fake;
    fake.settings().put("Tray", "True");
    TestWindow window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    ASSERT_TRUE(window.Tray().StartsHidden());
    window.trayAvailable = false;
    window.Tray().CheckNotificationArea();
    EXPECT_TRUE(window.isVisible());
    window.Tray().CheckNotificationArea();
    EXPECT_TRUE(window.isVisible());
    window.trayAvailable = true;
    window.Tray().CheckNotificationArea();
    EXPECT_FALSE(window.isVisible());
    window.trayAvailable = false;
    window.Tray().CheckNotificationArea();
    EXPECT_TRUE(window.isVisible());
    window.Form_Unload();
    EXPECT_EQ(fake.settings().main("Tray"), "True");
}

namespace {

// The area is looked at with the samples, every second one, not by a
// wake-up of its own.
TEST(frmMain, TheAreaIsLookedAtWithTheSamples) {
    FakePlatform fake;
    fake.settings().put("Tray", "True");
    fake.settings().put("Connection", "1");
    TestWindow window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    ASSERT_FALSE(window.isVisible());
    window.trayAvailable = false;
    for (int sample = 0; sample < 2 && !window.isVisible(); ++sample) {
        fake.clock().seconds += 1;
        window.Monitor().Sampler().tmrUpdate_Timer();
    }
    EXPECT_TRUE(window.isVisible());
    window.Form_Unload();
}

void doubleClick(QWidget* label) {
    QMouseEvent event(QEvent::MouseButtonDblClick, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(label, &event);
}

// The public address: a double click fetches the echo page and both labels
// show the address of its first line; an answer to an older request is
// dropped; an address that is not a web page is never fetched; a reader whose
// module cannot load leaves the labels empty and is not asked again.
TEST(frmMain, ThePublicAddressComesFromTheEchoPageAndTheLatestRequestWins) {
    FakePlatform fake;
    fake.settings().put("ShowRealIP", "True");
    fake.settings().put("SmallUI", "2");
    fake.settings().put("url", "http://127.0.0.1:8080/");
    TestWindow window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    FakePageReader& pages = fake.pages();
    QLabel* label = window.Label("lblIP");
    doubleClick(label);
    doubleClick(label);
    ASSERT_EQ(pages.urls, (std::vector<std::string>{"http://127.0.0.1:8080/", "http://127.0.0.1:8080/"}));
    pages.answer("Current IP Address: 203.0.113.1\n"); // the first request's: too late
    EXPECT_EQ(label->text(), "");
    pages.answer("Current IP Address: 203.0.113.7</body>\n");
    EXPECT_EQ(label->text(), "203.0.113.7");
    EXPECT_EQ(label->toolTip(), "Your IP address is 203.0.113.7");

    fake.settings().put("url", "file:///etc/passwd");
    doubleClick(label);
    EXPECT_EQ(pages.urls.size(), 2u);
    EXPECT_EQ(label->text(), "");

    // Started with no page to reach: the labels stay empty until the Normal
    // layout, which shows them, comes back.
    fake.settings().put("url", "http://127.0.0.1:8080/");
    window.SetDisplayMode(1);
    EXPECT_EQ(pages.urls.size(), 2u);
    window.SetDisplayMode(0);
    ASSERT_EQ(pages.urls.size(), 3u);
    pages.answer("Current IP Address: 203.0.113.9\n");
    EXPECT_EQ(label->text(), "203.0.113.9");

    pages.loaded = false;
    doubleClick(label);
    doubleClick(label);
    EXPECT_EQ(pages.urls.size(), 4u);
    EXPECT_EQ(label->text(), "");
    window.Form_Unload();
}

} // namespace
