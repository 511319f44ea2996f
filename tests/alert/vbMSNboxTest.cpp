// The alert windows drawn offscreen: where they stand, when ShowMessage
// returns, and closing them at any moment.
#include "alert/vbMSNbox.h"
#include "alert/AlertLayout.h"
#include "fakes/FakeSound.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

std::vector<vbMSNbox*> openAlerts() {
    std::vector<vbMSNbox*> boxes;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = dynamic_cast<vbMSNbox*>(widget); box && box->isVisible()) {
            boxes.push_back(box);
        }
    }
    return boxes;
}

void closeAll() {
    for (vbMSNbox* box : openAlerts()) {
        box->close();
    }
    QApplication::processEvents();
}

void waitFor(const std::function<bool()>& done, int ms = 3000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
}

TEST(vbMSNbox, ATimedAlertSlidesOutFreeingItsSlotAndCloses) {
    FakeSound sound;
    AlertWindows alerts(sound);
    alerts.ShowMessage("one", 100, 102, 2, "Tahoma", 8);
    vbMSNbox* box = openAlerts().front();
    EXPECT_FALSE(box->cmdOk()->isVisible());
    waitFor([&] { return box->height() < 113; });
    EXPECT_EQ(box->tag(), " ");
    alerts.ShowMessage("two", 0, 102, 2, "Tahoma", 8); // takes slot 1 while the first sinks
    const auto boxes = openAlerts();
    EXPECT_EQ(boxes.size(), 2u);
    for (vbMSNbox* b : boxes) {
        EXPECT_EQ(b->tag(), b == box ? " " : "1");
    }
    waitFor([] { return openAlerts().size() == 1; });
    EXPECT_EQ(openAlerts().size(), 1u);
    closeAll();
}

TEST(vbMSNbox, ClosedWhileSlidingInReleasesTheCaller) {
    FakeSound sound;
    AlertWindows alerts(sound);
    QTimer::singleShot(60, [] {
        for (vbMSNbox* box : openAlerts()) {
            box->close(); // a click during the slide
        }
    });
    QElapsedTimer timer;
    timer.start();
    alerts.ShowMessage("gone", 0, 100, 2, "Tahoma", 8);
    EXPECT_LT(timer.elapsed(), 250);
    EXPECT_TRUE(openAlerts().empty());
}

} // namespace
