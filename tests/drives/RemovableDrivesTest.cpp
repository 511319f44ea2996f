// The extended button and the drive list bound to fakes, drawn offscreen.
#include "drives/RemovableDrives.h"
#include "fakes/FakeAlert.h"
#include "fakes/FakePlatform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

class Host : public WindowHost {
public:
    Options& options() override { return o; }
    std::int32_t displayMode() const override { return mode; }
    void setDisplayMode(std::int32_t m) override { mode = m; }
    bool windowVisible() const override { return true; }
    void openPopupMenu() override {}
    void endProgram() override {}
    void settingsChanged() override {}
    ScreenPoint windowPlace() override { return {}; }
    void resizeWindow(int width, int height) override { window->setFixedSize(width, height); }
    Options o;
    std::int32_t mode = 2;
    QWidget* window = nullptr;
};

struct Tiny {
    FakePlatform fake;
    FakeAlert alert;
    Host host;
    QWidget window;
    QWidget* graph = new QWidget(&window);
    Keys keys;
    RemovableDrives drives{{*fake.platform.drives, *fake.platform.clock, *fake.platform.settings,
                            *fake.platform.shell, *fake.platform.speakers},
                           host,
                           window,
                           *graph,
                           alert,
                           [this] { return keys; }};
    Tiny() {
        host.window = &window;
        graph->setGeometry(0, 0, 140, 26);
        window.resize(140, 26);
        host.o.showExtendedButton = true;
        fake.drives().set('C', kDriveFixed);
        drives.started(); // C: learned as internal, no USB drive yet
    }
    void move(QWidget* target) {
        QMouseEvent event(QEvent::MouseMove, QPointF(3, 3), target->mapToGlobal(QPointF(3, 3)), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
};

TEST(ChooseExtendedButton, TheButtonAndTheWidth) {
    struct Case {
        bool checked, requested;
        std::size_t usb;
        std::int32_t mode;
        bool eject, volume, widen, unchanged;
    };
    const Case cases[] = {
        {false, false, 2, 2, false, false, false, true}, // option off: buttons as they are
        {true, true, 2, 2, false, true, true, false},    // the graph asked for the speaker
        {true, false, 2, 2, true, false, true, false},   // a USB drive
        {true, false, 0, 2, false, true, false, false},  // none: the speaker, outside the window
        {true, false, 2, 0, false, false, true, false},  // Normal: nothing shows
    };
    for (const Case& c : cases) {
        const ExtendedButton b = ChooseExtendedButton(c.checked, c.requested, c.usb, c.mode);
        EXPECT_EQ(b.eject, c.eject);
        EXPECT_EQ(b.volume, c.volume);
        EXPECT_EQ(b.widen, c.widen);
        EXPECT_EQ(b.unchanged, c.unchanged);
    }
}

TEST(RemovableDrives, ExcludingALetterSavesAtOnce) {
    Tiny t;
    t.drives.usbDrives().ExcludedDriveLetters = "D";
    t.drives.mnuExcludeDrive_Click(2);
    EXPECT_EQ(t.fake.settings().get("Trafalo", "Setting", "ExcludedDriveLetters", ""), "DC");
    t.drives.mnuExcludeDrive_Click(2);
    EXPECT_EQ(t.fake.settings().get("Trafalo", "Setting", "ExcludedDriveLetters", ""), "D");
}

// The mute state comes from the sound server after the first move over the
// graph asked for it: the next move shows it.
TEST(RemovableDrives, TheSpeakerButtonFollowsTheStateAsItArrives) {
    Tiny t;
    t.drives.graphPointerMoved(30, 10);
    EXPECT_EQ(t.drives.btnVolume()->toolTip(), "Mute speakers");
    t.fake.speakers().muted = 1;
    t.drives.graphPointerMoved(31, 10);
    EXPECT_EQ(t.drives.btnVolume()->toolTip(), "Enable speakers");
}

// The samples do the polling in the Tiny layout, every fifth: no wake-up of
// its own; outside it, none does.
TEST(RemovableDrives, EveryFifthSamplePollsInTheTinyLayoutOnly) {
    Tiny t;
    t.fake.drives().set('E', kDriveRemovable);
    for (int sample = 1; sample <= 4; ++sample) {
        t.drives.sampled();
    }
    EXPECT_EQ(t.window.width(), 140);
    t.drives.sampled();
    EXPECT_EQ(t.window.width(), 168);
    t.host.mode = 0;
    t.drives.modeChanged(0);
    t.window.setFixedSize(366, 217);
    for (int sample = 1; sample <= 10; ++sample) {
        t.drives.sampled();
    }
    EXPECT_EQ(t.window.width(), 366);
}

// The poller runs in the Tiny layout only; once the main window unloads, it
// neither runs nor resizes the window, whatever still reaches the feature.
TEST(RemovableDrives, AfterTheStopNothingPollsOrResizes) {
    Tiny t;
    EXPECT_TRUE(t.drives.PollTimer().isActive());
    t.host.mode = 0;
    t.drives.modeChanged(0);
    t.drives.mnuShowExtendedButton_Click();
    t.drives.mnuShowExtendedButton_Click();
    EXPECT_FALSE(t.drives.PollTimer().isActive());
    t.host.mode = 2;
    t.drives.modeChanged(2);
    t.drives.graphPointerMoved(30, 10);
    ASSERT_EQ(t.window.width(), 168);
    t.drives.stop();
    t.window.setFixedSize(140, 26);
    t.drives.graphPointerMoved(30, 10);
    t.drives.windowDeactivated();
    t.drives.modeChanged(2);
    EXPECT_FALSE(t.drives.PollTimer().isActive());
    EXPECT_FALSE(t.drives.DropDownTimer().isActive());
    EXPECT_EQ(t.window.width(), 140);
}

} // namespace
