// The popup menu, its commands and the window's placement, bound to fakes.
#include "app/TestWindow.h"
#include "app/WindowCommands.h"
#include "display/GraphView.h"
#include "monitor/TrafficMonitor.h"
#include "placement/Placement.h"
#include "tray/TrayIcon.h"

#include "fakes/FakePlatform.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

QAction* action(QMenu* menu, const char* name) {
    return menu ? menu->findChild<QAction*>(QString::fromLatin1(name)) : nullptr;
}

void mouse(QWidget* target, QEvent::Type type, Qt::MouseButton button, QPointF at = QPointF(2, 2)) {
    QMouseEvent event(type, at, target->mapToGlobal(at), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

bool trafficEmpty(TestWindow& window) {
    const TrafficHistory& h = window.Monitor().Display().History;
    for (std::size_t i = 0; i < h.DownloadHistory.size(); ++i) {
        if (h.DownloadHistory[i] != 0 || h.UploadHistory[i] != 0) {
            return false;
        }
    }
    return true;
}

struct OpenCase {
    bool hidden;
    Qt::KeyboardModifiers keys;
    bool opens;
    const char* hideCaption;
    bool windowOptions; // Transparent, Always on top, Start with Windows
};

TEST(frmMainMenu, EachOpeningFollowsTheWindowAndTheKeys) {
    const OpenCase cases[] = {
        {false, Qt::NoModifier, true, "Hide to System Tray", true},
        {true, Qt::NoModifier, true, "Show Trafalo", false},
        {false, Qt::AltModifier, true, "Hide to System Tray", true},
        {false, Qt::ControlModifier, false, "", false},
        {false, Qt::ShiftModifier, false, "", false},
        {true, Qt::ShiftModifier | Qt::AltModifier, false, "", false},
    };
    for (const OpenCase& c : cases) {
        FakePlatform fake;
        fake.settings().put("Tray", c.hidden ? "True" : "False");
        TestWindow window(fake.platform);
        ASSERT_TRUE(window.Form_Load());
        if (!c.hidden) {
            window.show();
        }
        window.KeyState = [&c] { return c.keys; };
        window.picTray_Click();
        QMenu* menu = window.PopupMenu();
        ASSERT_EQ(menu != nullptr, c.opens) << c.hideCaption;
        if (menu) {
            EXPECT_TRUE(menu->isVisible());
            QAction* hide = action(menu, "mnuPopupHide");
            ASSERT_NE(hide, nullptr);
            EXPECT_EQ(hide->text(), c.hideCaption);
            EXPECT_EQ(menu->defaultAction(), hide);
            EXPECT_EQ(action(menu, "mnuPopupTransparent")->isVisible(), c.windowOptions);
            EXPECT_EQ(action(menu, "mnuPopupAlwaysOnTop")->isVisible(), c.windowOptions);
            EXPECT_EQ(action(menu, "mnuPopupStartWithWindows")->isVisible(), c.windowOptions);
            EXPECT_EQ(action(menu, "MBAR2")->isVisible(), c.windowOptions);
            EXPECT_EQ(action(menu, "mnuSystemTrayIconTypeAnalog")->isVisible(), !c.windowOptions);
            menu->close();
        }
        window.Form_Unload();
    }
}

TEST(frmMainMenu, ASuppressedClickOpensNothingOnce) {
    FakePlatform fake;
    TestWindow window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    window.KeyState = [] { return Qt::KeyboardModifiers(Qt::ControlModifier); };
    window.SuppressNextMenu = true;
    window.picTray_Click(); // a Ctrl release after a gesture ends the suppression too
    EXPECT_FALSE(window.SuppressNextMenu);
    window.KeyState = [] { return Qt::KeyboardModifiers(); };
    window.SuppressNextMenu = true;
    window.picTray_Click();
    EXPECT_EQ(window.PopupMenu(), nullptr);
    window.picTray_Click();
    ASSERT_NE(window.PopupMenu(), nullptr);
    window.PopupMenu()->close();
    window.Form_Unload();
}

TEST(frmMainMenu, ADoubleClickReleasedElsewhereLeavesTheNextGestureIntact) {
    // The double click changes the layout, so its release lands on another
    // control; the next gesture's release must still end that gesture's
    // suppression, and the right click after it open the menu.
    FakePlatform fake;
    fake.settings().put("SmallUI", "1");
    TestWindow window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    window.show();
    mouse(window.Controls().Graph(), QEvent::MouseButtonDblClick, Qt::LeftButton);
    ASSERT_EQ(window.DisplayMode, 2);
    mouse(window.Controls().Graph(), QEvent::MouseButtonPress, Qt::LeftButton, QPointF(125, 10));
    mouse(window.Controls().Graph(), QEvent::MouseButtonRelease, Qt::LeftButton, QPointF(125, 10));
    EXPECT_EQ(fake.shell().taskManagers, 1); // the meters' gesture, with no menu after it
    EXPECT_EQ(window.PopupMenu(), nullptr);
    EXPECT_FALSE(window.SuppressNextMenu);
    mouse(window.Controls().Graph(), QEvent::MouseButtonPress, Qt::RightButton, QPointF(50, 10));
    ASSERT_NE(window.PopupMenu(), nullptr);
    EXPECT_TRUE(window.PopupMenu()->isVisible());
    window.PopupMenu()->close();
    window.Form_Unload();
}

TEST(frmMainMenu, ShowBandwidthEndsInTinyWithEmptyHistories) {
    for (const std::int32_t mode : {0, 2}) {
        for (const bool bandwidth : {false, true}) {
            FakePlatform fake;
            fake.settings().put("SmallUI", std::to_string(mode));
            fake.settings().put("ShowBandwidth", bandwidth ? "True" : "False");
            TestWindow window(fake.platform);
            ASSERT_TRUE(window.Form_Load());
            window.Monitor().Display().History.ShiftTraffic(120, 5000, 700);
            window.RunMenuCommand("mnuShowBandwidth");
            EXPECT_EQ(window.DisplayMode, 2) << mode;
            EXPECT_EQ(window.CurrentOptions().showBandwidth, !bandwidth);
            EXPECT_EQ(window.size(), QSize(bandwidth ? 120 : 140, 26));
            EXPECT_TRUE(trafficEmpty(window)) << mode;
            window.Form_Unload();
        }
    }
}

TEST(frmMainMenu, AFailedStartWithWindowsWriteKeepsTheChoice) {
    FakePlatform fake;
    TestWindow window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    window.RunMenuCommand("mnuPopupStartWithWindows");
    fake.autostart().failWrites = true;
    window.RunMenuCommand("mnuPopupStartWithWindows");
    EXPECT_TRUE(window.CurrentOptions().startWithWindows);
    EXPECT_TRUE(fake.autostart().entries.empty());
    EXPECT_EQ(fake.settings().main("Start with Windows"), "True"); // saved at once
    window.Form_Unload();
}

TEST(frmMainMenu, LabelsDragOpenTheMenuOrActOnDoubleClicks) {
    FakePlatform fake;
    fake.settings().put("SmallUI", "0");
    TestWindow window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    window.show();
    window.KeyState = [] { return Qt::KeyboardModifiers(); };

    mouse(window.Label("lblDSpeed"), QEvent::MouseButtonPress, Qt::MiddleButton);
    EXPECT_EQ(window.PopupMenu(), nullptr);
    mouse(window.Label("lblDSpeed"), QEvent::MouseButtonPress, Qt::RightButton);
    ASSERT_NE(window.PopupMenu(), nullptr);
    window.PopupMenu()->close();

    mouse(window.Label("lblTitle(3)"), QEvent::MouseButtonDblClick, Qt::LeftButton);
    EXPECT_EQ(fake.shell().networkConnections, 1);
    EXPECT_EQ(window.DisplayMode, 0);
    mouse(window.Label("lblTitle(0)"), QEvent::MouseButtonDblClick, Qt::LeftButton);
    EXPECT_EQ(window.DisplayMode, 1);
    mouse(window.Label("lblSpeed(2)"), QEvent::MouseButtonDblClick, Qt::LeftButton);
    EXPECT_EQ(window.DisplayMode, 2);
    mouse(window.Label("imgBottom"), QEvent::MouseButtonDblClick, Qt::LeftButton);
    EXPECT_EQ(window.DisplayMode, 0);

    // A double click on the graph changes the layout; its release opens no
    // menu, while a release of its own does.
    QMenu* closed = window.PopupMenu();
    mouse(window.Controls().Graph(), QEvent::MouseButtonDblClick, Qt::LeftButton);
    mouse(window.Controls().Graph(), QEvent::MouseButtonRelease, Qt::LeftButton);
    EXPECT_EQ(window.DisplayMode, 1);
    EXPECT_EQ(window.PopupMenu(), closed);
    EXPECT_FALSE(closed->isVisible());
    mouse(window.Controls().Graph(), QEvent::MouseButtonRelease, Qt::MiddleButton);
    ASSERT_NE(window.PopupMenu(), closed);
    EXPECT_TRUE(window.PopupMenu()->isVisible());
    window.PopupMenu()->close();

    mouse(window.Label("lblCredit"), QEvent::MouseButtonRelease, Qt::LeftButton);
    EXPECT_EQ(fake.shell().urls, std::vector<std::string>{"https://example.org/trafalo"});
    window.Form_Unload();
}

} // namespace
