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

TEST(vbMSNbox, FiveAlertsStackInTheirSlotsAndEachReturnsSlidIn) {
    FakeSound sound;
    AlertWindows alerts(sound);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const int wanted[] = {1, 2, 3, 4, 2};
    std::vector<vbMSNbox*> seen;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer timer;
        timer.start();
        alerts.ShowMessage("Drive E: Ejected\r\nMedia may be Safely Removed", 0, 100 + i, 2, "Tahoma", 8);
        EXPECT_GE(timer.elapsed(), 200); // paced so a person sees it slide
        const std::vector<vbMSNbox*> boxes = openAlerts();
        ASSERT_EQ(boxes.size(), static_cast<std::size_t>(i + 1));
        vbMSNbox* box = nullptr;
        for (vbMSNbox* b : boxes) {
            if (std::find(seen.begin(), seen.end(), b) == seen.end()) {
                box = b;
            }
        }
        ASSERT_NE(box, nullptr);
        seen.push_back(box);
        const AlertRect start = AlertStartRect(wanted[i], area.x(), area.y(), area.width(), area.height());
        EXPECT_EQ(box->geometry(), QRect(start.left, start.top + start.height - 113, 137, 113)) << i;
        EXPECT_EQ(box->tag(), QString::number(wanted[i]));
        EXPECT_TRUE(box->cmdOk()->isVisible()); // duration 0: stays until OK
        EXPECT_EQ(box->lblAlert()->text(), "Drive E: Ejected\nMedia may be Safely Removed");
    }
    EXPECT_EQ(sound.played, (std::vector<std::string>{"SystemHand", "SystemAsterisk", "SystemExclamation",
                                                      "SystemQuestion", "SystemHand"}));
    // A click on the label closes one at once.
    vbMSNbox* first = seen.front();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(first->lblAlert(), &press);
    QApplication::processEvents();
    EXPECT_EQ(openAlerts().size(), 4u);
    closeAll();
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
