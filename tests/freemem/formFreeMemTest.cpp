// The Free Memory window and its setup on fakes of the platform, drawn
// offscreen: the free and its stop, the automatic free, the main window's
// command, the setup's rules, the meter. (Its icon class is seen through the
// real tray in tray_xembed_test.sh and freemem_test.sh.)
#include "freemem/formFreeMem.h"
#include "fakes/FakePlatform.h"
#include "freemem/FreeMemTool.h"
#include "freemem/formFreeMemSetup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;

void spin(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

struct FreeMemFixture : ::testing::Test {
    FakePlatform fake;

    void memory(std::uint64_t total, std::uint64_t available) {
        MemoryStatusEx m;
        m.totalPhys = total;
        m.availPhys = available;
        m.totalPageFile = total;
        m.availPageFile = available;
        m.totalVirtual = total;
        m.availVirtual = total;
        fake.system().memoryEx = m;
    }
    FreeMemServices services() {
        Platform& p = fake.platform;
        return {*p.settings, *p.system, *p.clock, *p.shell, p.memoryClaim.get()};
    }
    void stored(const char* key, const char* value) {
        fake.settings().set("Lorvane", "Settings", key, value);
    }
    std::string saved(const char* key) { return fake.settings().get("Lorvane", "Settings", key, "(none)"); }

    QPointer<formFreeMem> load(std::vector<std::string> arguments = {}) {
        auto* window = new formFreeMem(services(), std::move(arguments), 0, 1);
        window->TrayAvailable = [] { return true; };
        window->Form_Load();
        return window;
    }

    void TearDown() override {
        std::vector<QPointer<QWidget>> windows;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            windows.emplace_back(w);
        }
        for (const QPointer<QWidget>& w : windows) {
            delete w.data(); // a window takes its own menus and setup with it
        }
    }
};

TEST_F(FreeMemFixture, LoadSetsTheSliderAndTextsAndTrayModeStartsInTheTray) {
    memory(16 * kGiB, 4 * kGiB);
    auto window = load({"/Tray"});
    EXPECT_EQ(window->HScroll1()->maximum(), 14336);
    EXPECT_EQ(window->HScroll1()->value(), 14336);
    EXPECT_EQ(window->btnFree()->text(), "Free 14336 MB");
    EXPECT_EQ(window->windowTitle(), "4096.0MB Free Memory v0.1");
    EXPECT_EQ(window->lblFreeMem()->text(), "25.0%");
    EXPECT_EQ(window->TrayIcon().Tooltip(), "4096.0MB Free Memory v0.1\nUsage: 75.0%");
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(window->TrayIcon().IsIconInTray());
    window->mnuShow_Click(); // the icon's left click
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->TrayIcon().IsIconInTray());
}

// The window must never be stranded behind an icon nobody can see: with the
// main window gone it would keep the program running with no window at all.
TEST_F(FreeMemFixture, HiddenInTheAreaItShowsWhenTheAreaGoesAndGoesBackWhenItReturns) {
    memory(16 * kGiB, 4 * kGiB);
    bool area = true;
    auto window = load({"/tray"});
    window->TrayAvailable = [&area] { return area; };
    ASSERT_FALSE(window->isVisible());
    area = false;
    window->CheckNotificationArea();
    EXPECT_FALSE(window->isVisible()); // one check may have lost an answer
    window->CheckNotificationArea();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->TrayIcon().IsIconInTray());
    window->CheckNotificationArea();
    EXPECT_TRUE(window->isVisible());
    area = true;
    window->CheckNotificationArea();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(window->TrayIcon().IsIconInTray());
    // Shown by the user, it stays shown whatever the area does.
    window->mnuShow_Click();
    area = false;
    window->CheckNotificationArea();
    area = true;
    window->CheckNotificationArea();
    EXPECT_TRUE(window->isVisible());
}

TEST_F(FreeMemFixture, ASecondClickStopsTheFreeAndReturnsWhatWasClaimed) {
    memory(16 * kGiB, 4 * kGiB);
    auto window = load();
    window->show();
    window->HScroll1()->setValue(5000);
    bool clicked = false;
    QTimer stopper;
    QObject::connect(&stopper, &QTimer::timeout, [&] {
        if (!clicked && fake.memory().claims >= 3) {
            clicked = true;
            window->btnFree()->click(); // "&Stop"
        }
    });
    stopper.start(0);
    window->btnFree_Click();
    stopper.stop();
    const int claimed = fake.memory().claims;
    EXPECT_GE(claimed, 3);
    EXPECT_LT(claimed, 5000);
    EXPECT_EQ(fake.memory().releasedAt, (std::vector<std::int64_t>{claimed * std::int64_t{2} * 1048576}));
    EXPECT_EQ(fake.memory().held, 0);
    EXPECT_EQ(fake.memory().offers, (std::vector<bool>{true, false}));
    EXPECT_EQ(window->btnFree()->text(), "Free 5000 MB");
    EXPECT_TRUE(window->HScroll1()->isEnabled());
    EXPECT_TRUE(window->Timer1().isActive());
}

TEST_F(FreeMemFixture, TheMainWindowsCommandFreesItsAmountThenOffersWhatIsAvailable) {
    struct Case {
        std::uint64_t availableAfter;
        int slider;
    } cases[] = {{3 * kGiB, 3072}, {15 * kGiB, 7}}; // 15 GiB lies above the maximum of 8704
    for (const Case& c : cases) {
        memory(16 * kGiB, 4 * kGiB);
        fake.memory().claims = 0;
        FreeMemTool tool(services(), 0, 1);
        StartupSettings settings;
        settings.autoFreeMemMB = 7;
        tool.start(settings);
        tool.Load().TrayAvailable = [] { return true; };
        QTimer::singleShot(0, [&] { memory(16 * kGiB, c.availableAfter); });
        EXPECT_TRUE(tool.takeGesture(Gesture::FreeMemory));
        EXPECT_EQ(fake.memory().claims, 7);
        EXPECT_TRUE(tool.Window()->isVisible());
        EXPECT_EQ(tool.Window()->HScroll1()->value(), c.slider) << c.availableAfter;
    }
}

TEST_F(FreeMemFixture, TheSetupShowsValidValuesAndAppliesThemOnClose) {
    memory(16 * kGiB, 8 * kGiB);
    stored("AutoFreeMemPeak", "30");
    stored("AutoFreeMemMB", "x");
    auto window = load();
    EXPECT_EQ(window->AutoFreePeak, 30); // the window uses what is stored
    EXPECT_EQ(window->AutoFreeMB, 10);
    window->mnuMemSetup_Click();
    window->mnuMemSetup_Click(); // one setup window at a time
    ASSERT_NE(window->Setup(), nullptr);
    EXPECT_FALSE(window->Timer1().isActive());
    formFreeMemSetup* setup = window->Setup();
    EXPECT_EQ(setup->HScroll1()->value(), 95);
    EXPECT_EQ(setup->lblPeakLevel()->text(), "95%");
    EXPECT_EQ(setup->HScroll2()->value(), 10);
    setup->HScroll2()->setValue(2000); // beyond its range
    EXPECT_EQ(setup->lblFreeMem()->text(), "1024MB");
    setup->close();
    EXPECT_EQ(saved("AutoFreeMemPeak"), "95");
    EXPECT_EQ(saved("AutoFreeMemMB"), "1024");
    EXPECT_EQ(window->AutoFreePeak, 95);
    EXPECT_EQ(window->AutoFreeMB, 1024);
    EXPECT_TRUE(window->Timer1().isActive());
}

// The setup's values reach the window at once; the periodic check, which
// would stop the free at its next tick, waits for the free's end.
TEST_F(FreeMemFixture, ClosingTheSetupDuringAFreeLeavesTheFreeToEnd) {
    memory(16 * kGiB, 8 * kGiB);
    auto window = load();
    window->show();
    window->HScroll1()->setValue(300);
    bool checkingDuring = true;
    QTimer::singleShot(0, [&] {
        window->mnuMemSetup_Click();
        window->Setup()->HScroll1()->setValue(60);
        window->Setup()->close();
        checkingDuring = window->Timer1().isActive();
    });
    window->btnFree_Click();
    EXPECT_FALSE(checkingDuring);
    EXPECT_EQ(fake.memory().claims, 300);
    EXPECT_EQ(window->AutoFreePeak, 60);
    EXPECT_TRUE(window->Timer1().isActive());
}

TEST_F(FreeMemFixture, ClosingDuringAFreeWaitsForItAndSavesTheState) {
    memory(16 * kGiB, 8 * kGiB);
    auto window = load();
    window->show();
    window->HScroll1()->setValue(500);
    QTimer::singleShot(0, [&] { window->close(); });
    window->btnFree_Click();
    EXPECT_LT(fake.memory().claims, 500);
    EXPECT_EQ(fake.memory().held, 0);
    spin(20);
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(saved("FreeMemTray"), "0");
}

TEST(MeterGraph, FirstTicksPlotPointsAndEveryTwentiethAGridLine) {
    MeterGraph meter(108, 30);
    MemoryStatus s;
    s.TotalPhys = s.TotalPageFile = s.TotalVirtual = 100;
    s.AvailPhys = 50;     // row 15
    s.AvailPageFile = 20; // row 6
    s.AvailVirtual = 90;  // row 27
    const QRgb green = qRgb(0, 255, 0), grey = qRgb(136, 136, 136), black = qRgb(0, 0, 0);
    meter.Tick(s);
    EXPECT_EQ(meter.Picture().pixel(107, 15), green);
    EXPECT_EQ(meter.Picture().pixel(107, 6), qRgb(68, 68, 68));
    EXPECT_EQ(meter.Picture().pixel(107, 27), qRgb(0, 0, 255));
    EXPECT_EQ(meter.Picture().pixel(107, 13), grey);  // the horizontal grid line
    EXPECT_EQ(meter.Picture().pixel(106, 15), black); // a point, not a line from the left
    s.AvailPhys = 10;                                 // row 3: a line up from row 15
    meter.Tick(s);
    EXPECT_EQ(meter.Picture().pixel(106, 15), green);
    EXPECT_EQ(meter.Picture().pixel(107, 3), green);
    for (int i = 2; i < 20; ++i) {
        meter.Tick(s);
    }
    EXPECT_EQ(meter.Picture().pixel(107, 0), grey); // the 20th tick: a vertical line
    EXPECT_EQ(meter.Picture().pixel(106, 0), black);
}

} // namespace
