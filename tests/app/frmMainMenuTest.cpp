// The popup menu, its commands and the window's placement, bound to fakes.
#include "app/TestWindow.h"
#include "app/WindowCommands.h"
#include "display/GraphView.h"
#include "monitor/TrafficMonitor.h"
#include "placement/Placement.h"
#include "tray/TrayIcon.h"

#include "fakes/FakePlatform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
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

TEST(frmMainMenu, APointerOverTheGraphBringsTheWindowForward) {
    FakePlatform fake;
    TestWindow window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    window.show();
    QWidget other;
    other.show();
    other.activateWindow();
    QApplication::setActiveWindow(&other);
    ASSERT_FALSE(window.isActiveWindow());
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), window.Controls().Graph()->mapToGlobal(QPointF(5, 5)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.Controls().Graph(), &move);
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.isActiveWindow());
    window.Form_Unload();
}

TEST(frmMainMenu, ChoosingItemsRunsTheirCommands) {
    FakePlatform fake;
    fake.settings().put("SmallUI", "0");
    TestWindow window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    window.show();
    window.KeyState = [] { return Qt::KeyboardModifiers(); };
    auto choose = [&window](const char* name) {
        window.picTray_Click();
        QAction* item = action(window.PopupMenu(), name);
        ASSERT_NE(item, nullptr) << name;
        item->trigger();
        window.PopupMenu()->close();
    };
    choose("mnuPopupTransparent");
    EXPECT_FALSE(window.CurrentOptions().transparent);
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 1.0);
    choose("mnuPopupTransparent");
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 120.0 / 255.0);
    choose("mnuPopupSound");
    choose("mnuBattery");
    choose("mnuShowRealIP");
    choose("mnuShowExtendedButton");
    EXPECT_FALSE(window.CurrentOptions().soundOnError || window.CurrentOptions().battery ||
                 window.CurrentOptions().showRealIP || window.CurrentOptions().showExtendedButton);
    choose("mnuTaskManager");
    EXPECT_EQ(fake.shell().taskManagers, 1);
    choose("mnuNetworkConnections");
    EXPECT_EQ(fake.shell().networkConnections, 1);

    window.picTray_Click();
    QAction* small = nullptr;
    for (QAction* a : window.PopupMenu()->findChildren<QAction*>(QStringLiteral("mnuWindowType"))) {
        if (a->data().toInt() == 1) {
            small = a;
        }
    }
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(small->text(), "&Small - Traffic and IP");
    small->trigger();
    window.PopupMenu()->close();
    EXPECT_EQ(window.DisplayMode, 1);
    EXPECT_EQ(window.size(), QSize(366, 77));

    window.RunMenuCommand("mnuNetCard", 1);
    EXPECT_EQ(window.Controls().ConnectionList()->currentIndex(), 1);
    EXPECT_EQ(fake.settings().main("Connection"), "1");
    // Either item of the tray picture pair swaps the two marks.
    window.RunMenuCommand("mnuSystemTrayIconTypeAnalog");
    window.RunMenuCommand("mnuSystemTrayIconTypeDigital");
    window.RunMenuCommand("mnuSystemTrayIconTypeDigital");
    window.Form_Unload();
    EXPECT_EQ(fake.settings().main("Sound"), "False");
    EXPECT_EQ(fake.settings().main("SmallUI"), "1");
    EXPECT_EQ(fake.settings().main("System tray icon type"), "False");
}

struct TopCase {
    bool checked;
    Qt::KeyboardModifiers keys;
    bool expected;
};

TEST(frmMainMenu, AlwaysOnTopWithShiftOrCtrlOnlyEverTurnsOn) {
    const TopCase cases[] = {
        {true, Qt::NoModifier, false},    {false, Qt::NoModifier, true},     {true, Qt::ShiftModifier, true},
        {false, Qt::ShiftModifier, true}, {true, Qt::ControlModifier, true}, {true, Qt::AltModifier, false},
    };
    for (const TopCase& c : cases) {
        FakePlatform fake;
        fake.settings().put("Always On Top", c.checked ? "True" : "False");
        TestWindow window(fake.platform);
        ASSERT_TRUE(window.Form_Load());
        window.show();
        window.KeyState = [&c] { return c.keys; };
        window.RunMenuCommand("mnuPopupAlwaysOnTop");
        EXPECT_EQ(window.CurrentOptions().alwaysOnTop, c.expected);
        EXPECT_EQ(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint), c.expected);
        EXPECT_EQ(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint), c.expected);
        EXPECT_TRUE(window.isVisible()); // the change does not unmap the window
        window.Form_Unload();
    }
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

TEST(frmMainMenu, StartWithWindowsWritesTheEntryAndSavesAtOnce) {
    FakePlatform fake;
    TestWindow window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    ASSERT_TRUE(window.CurrentOptions().startWithWindows);
    window.RunMenuCommand("mnuPopupStartWithWindows");
    EXPECT_TRUE(fake.autostart().entries.empty());
    EXPECT_EQ(fake.settings().main("Start with Windows"), "False");
    window.RunMenuCommand("mnuPopupStartWithWindows");
    const std::string program = QCoreApplication::applicationFilePath().toStdString();
    EXPECT_EQ(fake.autostart().entries["Trafalo"], program);
    EXPECT_EQ(fake.settings().main("Start with Windows"), "True");

    // A write that fails still leaves the mark and the setting as chosen.
    window.RunMenuCommand("mnuPopupStartWithWindows");
    fake.autostart().failWrites = true;
    window.RunMenuCommand("mnuPopupStartWithWindows");
    EXPECT_TRUE(window.CurrentOptions().startWithWindows);
    EXPECT_TRUE(fake.autostart().entries.empty());
    EXPECT_EQ(fake.settings().main("Start with Windows"), "True");
    window.Form_Unload();
}

TEST(frmMainMenu, AboutOpensTheMakersPageOnOkOnly) {
    for (const QMessageBox::StandardButton button : {QMessageBox::Ok, QMessageBox::Cancel}) {
        FakePlatform fake;
        TestWindow window(fake.platform);
        ASSERT_TRUE(window.Form_Load());
        window.RunMenuCommand("mnuPopupAbout");
        QMessageBox* box = window.Commands().AboutBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(),
                  QString::fromLatin1("Trafalo v%1.%2\nA small traffic widget for the desktop.\n\n"
                                      "https://example.org/trafalo")
                      .arg(TRAFALO_VERSION_MAJOR)
                      .arg(TRAFALO_VERSION_MINOR));
        EXPECT_EQ(box->icon(), QMessageBox::Information);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok | QMessageBox::Cancel);
        box->button(button)->click();
        EXPECT_EQ(window.Commands().AboutBox(), nullptr);
        EXPECT_EQ(fake.shell().urls, button == QMessageBox::Ok
                                         ? std::vector<std::string>{"https://example.org/trafalo"}
                                         : std::vector<std::string>{});
        window.Form_Unload();
    }
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

TEST(frmMainMenu, TheSnappingTickBringsTheWindowBackAndThenSleeps) {
    FakePlatform fake;
    fake.settings().put("SmallUI", "2");
    fake.settings().put("Top", "-3000");
    fake.settings().put("Left", "75");
    TestWindow window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    EXPECT_EQ(window.pos(), QPoint(5, -200));
    EXPECT_TRUE(window.Place().FormMoveTimerActive());
    window.Place().tmrFormMove_Timer();
    EXPECT_EQ(window.pos(), QPoint(0, 0));
    window.Place().tmrFormMove_Timer(); // its own move: checked once more
    window.Place().tmrFormMove_Timer();
    EXPECT_FALSE(window.Place().FormMoveTimerActive());
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    window.show();
    window.Place().tmrFormMove_Timer();
    window.Place().tmrFormMove_Timer();
    ASSERT_FALSE(window.Place().FormMoveTimerActive());
    window.move(screen.width() - 140 - 15, screen.height() - 26 - 10);
    EXPECT_TRUE(window.Place().FormMoveTimerActive());
    window.Place().tmrFormMove_Timer();
    EXPECT_EQ(window.pos(), QPoint(screen.width() - 140, screen.height() - 26));
    window.Form_Unload();
}

TEST(frmMainMenu, ExitWhileHiddenComesBackHidden) {
    FakePlatform fake;
    TestWindow window(fake.platform);
    ASSERT_TRUE(window.Form_Load());
    window.show();
    window.RunMenuCommand("mnuPopupHide");
    EXPECT_FALSE(window.isVisible());
    window.RunMenuCommand("mnuPopupExit");
    EXPECT_EQ(fake.settings().main("Tray"), "True");

    TestWindow again(fake.platform);
    ASSERT_TRUE(again.Form_Load());
    EXPECT_TRUE(again.Tray().StartsHidden());
    again.Form_Unload();
}

} // namespace
