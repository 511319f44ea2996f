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
    Options o;
    std::int32_t mode = 2;
};

struct Tiny {
    FakePlatform fake;
    FakeAlert alert;
    Host host;
    QWidget window;
    QWidget* graph = new QWidget(&window);
    Keys keys;
    RemovableDrives drives{fake.platform, host, window, *graph, alert, [this] { return keys; }};
    Tiny() {
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

TEST(RemovableDrives, APollShowsTheEjectButtonAndWidensOnlyTheTinyWindow) {
    Tiny t;
    t.drives.tmrPollUSB_Timer();
    EXPECT_EQ(t.window.width(), 140);
    t.fake.drives().set('E', kDriveRemovable);
    t.drives.tmrPollUSB_Timer();
    EXPECT_EQ(t.window.width(), 168);
    EXPECT_FALSE(t.drives.btnEjectUSB()->isHidden());
    EXPECT_TRUE(t.drives.btnVolume()->isHidden());
    t.host.mode = 0; // Normal: the option checked must not cut the window down
    t.window.setFixedSize(366, 215);
    t.drives.mnuShowExtendedButton_Click();
    t.drives.mnuShowExtendedButton_Click();
    EXPECT_EQ(t.window.size(), QSize(366, 215));
    // The speaker asked for by the graph, with its state.
    t.host.mode = 2;
    t.fake.speakers().muted = 1;
    t.drives.graphPointerMoved(50, 5);
    EXPECT_FALSE(t.drives.btnVolume()->isHidden());
    EXPECT_EQ(t.drives.btnVolume()->toolTip(), "Enable speakers");
    EXPECT_EQ(t.window.width(), 168);
    t.fake.speakers().calls.clear();
    t.drives.btnVolume()->click(); // unmutes, then beeps rising
    t.drives.btnVolume()->click(); // beeps while the sound is on, then mutes
    EXPECT_EQ(t.fake.speakers().calls,
              (std::vector<std::string>{"get", "unmute", "beep 300 60", "beep 360 60", "get", "beep 280 100",
                                        "mute"}));
}

TEST(RemovableDrives, TheDriveListDropsDownAfterTwoSecondsAndOpensTheChosenDrive) {
    Tiny t;
    t.fake.drives().set('E', kDriveRemovable);
    t.drives.tmrPollUSB_Timer();
    t.window.show();
    t.move(t.drives.btnEjectUSB());
    ASSERT_TRUE(t.drives.DropDownTimer().isActive());
    EXPECT_EQ(t.drives.DropDownTimer().interval(), 2000);
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 60) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    t.move(t.drives.btnEjectUSB()); // keeps its count
    EXPECT_LT(t.drives.DropDownTimer().remainingTime(), 1960);
    t.drives.graphPointerMoved(130, 5); // the graph cancels it
    EXPECT_FALSE(t.drives.DropDownTimer().isActive());
    t.drives.tmrDropDown_Timer();
    QMenu* list = t.drives.Drives();
    ASSERT_TRUE(list->isVisible());
    const QList<QAction*> entries = list->actions();
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[1]->text(), "E: /media/E");
    entries[1]->trigger();
    EXPECT_EQ(t.fake.shell().urls, (std::vector<std::string>{"/media/E"}));
    list->hide();
    t.drives.tmrDropDown_Timer();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(list, &escape);
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(t.fake.shell().urls.size(), 1u);
}

TEST(RemovableDrives, ExcludingALetterSavesAtOnce) {
    Tiny t;
    t.drives.usbDrives().ExcludedDriveLetters = "D";
    t.drives.mnuExcludeDrive_Click(2);
    EXPECT_EQ(t.fake.settings().get("Trafalo", "Setting", "ExcludedDriveLetters", ""), "DC");
    t.drives.mnuExcludeDrive_Click(2);
    EXPECT_EQ(t.fake.settings().get("Trafalo", "Setting", "ExcludedDriveLetters", ""), "D");
}

} // namespace
