#pragma once
// The notification-area icon of the main window: present while the window
// is hidden, showing the tray picture of every sample and the speeds in its
// tooltip; a left press brings the window back, a right press opens the menu.
// Where no notification area is available the window is never hidden.
#include "core/Feature.h"

#include <QObject>
#include <QTimer>
#include <functional>

class QSystemTrayIcon;
class QWidget;
class TrafficPicture;

class TrayIcon : public Feature {
public:
    TrayIcon(WindowHost& host, QWidget& window, TrafficPicture& traffic);
    ~TrayIcon() override;

    void start(const StartupSettings& settings) override;
    void addMenuItems(MenuBuilder& menu) override;
    void addSettings(SettingsList& keys) const override;
    void stop() override;

    void AddTrayIcon();
    void UpdateTrayIcon(bool& idle);
    void RemoveTrayIcon();
    // The mouse message the icon reports (513 left down, 516 right down).
    void picTray_MouseMove(int message);
    // Hide to the notification area, or show the window again.
    void mnuPopupHide_Click();

    // The check every 2 s while the window is hidden or waits for the area
    // to return: shows the window when the area went away, hides it again
    // when the area is back.
    void CheckNotificationArea();
    // Whether a notification area can show the icon now; tests replace it.
    std::function<bool()> Available;

    // True when start-up left the window hidden in the notification area.
    bool StartsHidden() const { return m_startHidden; }
    QSystemTrayIcon* Icon() const { return m_trayIcon; }
    void sampled() override;

private:
    bool hidden() const;
    void showWindow();

    WindowHost& m_host;
    QWidget& m_window;
    TrafficPicture& m_traffic;
    QSystemTrayIcon* m_trayIcon = nullptr;
    bool m_startHidden = false;
    // The window was hidden when the notification area went away: it goes
    // back in when the area returns (a panel restart).
    bool m_returnToArea = false;
    QObject m_context;
    // While hidden: brings the window back if the notification area goes
    // away, and puts it back when the area returns. Active while the area
    // is watched.
    QTimer m_areaCheck;
    int m_samplesSinceCheck = 0;
};
