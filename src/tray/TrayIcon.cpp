#include "tray/TrayIcon.h"

#include "core/SettingsKeys.h"
#include "core/SettingsText.h"
#include "display/TrafficDisplay.h"
#include "display/TrafficPicture.h"
#include "display/WindowControls.h"
#include "display/clsSystray.h"

#include <QLabel>
#include <QSystemTrayIcon>
#include <QWidget>

namespace {
// The area is looked at every second sample. The timer is the fallback for
// when no sample comes (no interface): each sample pushes it back, so while
// samples come it never wakes the program on its own.
constexpr int kAreaCheckSamples = 2;
constexpr int kAreaCheckFallbackMs = 3000;
} // namespace

TrayIcon::TrayIcon(WindowHost& host, QWidget& window, TrafficPicture& traffic)
    : m_host(host), m_window(window), m_traffic(traffic) {
    Available = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
    m_traffic.onHiddenSample([this](bool& idle) { UpdateTrayIcon(idle); });
    m_areaCheck.setInterval(kAreaCheckFallbackMs);
    QObject::connect(&m_areaCheck, &QTimer::timeout, &m_context, [this] { CheckNotificationArea(); });
}

TrayIcon::~TrayIcon() {
    m_traffic.onHiddenSample(nullptr);
    delete m_trayIcon;
}

bool TrayIcon::hidden() const {
    return !m_window.isVisible();
}

void TrayIcon::start(const StartupSettings& settings) {
    // Hidden at the last exit: hidden again, but only behind an icon that
    // can be seen.
    if (settings.tray && Available()) {
        AddTrayIcon();
        m_startHidden = true;
    }
}

void TrayIcon::addMenuItems(MenuBuilder& menu) {
    MenuNode hide = MenuItem("mnuPopupHide", hidden() ? "Show Trafalo" : "Hide to System Tray",
                             [this](std::int16_t) { mnuPopupHide_Click(); });
    hide.isDefault = true;
    menu.add(std::move(hide));
    // The two marks of the pair are always opposite: start-up sets them so
    // and every click swaps them.
    const bool analog = m_host.options().analogTrayIcon;
    // The other item takes the clicked one's mark and the clicked one is
    // inverted: either click swaps them.
    const MenuCommand swap = [this](std::int16_t) {
        Options& o = m_host.options();
        o.analogTrayIcon = !o.analogTrayIcon;
    };
    menu.add(MenuToggle("mnuSystemTrayIconTypeDigital", "Digital tray icon", !analog, swap, hidden()));
    menu.add(MenuToggle("mnuSystemTrayIconTypeAnalog", "Analog tray icon", analog, swap, hidden()));
}

void TrayIcon::stop() {
    RemoveTrayIcon();
}

void TrayIcon::addSettings(SettingsList& keys) const {
    // Shown only because the notification area is away, the window is still
    // where the user left it: hidden.
    keys.emplace_back(kKeyTray, BoolText(hidden() || m_startHidden || m_returnToArea));
    keys.emplace_back(kKeyTrayIconType, BoolText(m_host.options().analogTrayIcon));
}

void TrayIcon::AddTrayIcon() {
    if (!m_trayIcon) {
        m_trayIcon = new QSystemTrayIcon();
        QObject::connect(m_trayIcon, &QSystemTrayIcon::activated, &m_context,
                         [this](QSystemTrayIcon::ActivationReason reason) {
                             for (const int message : TrayActivationMessages(reason)) {
                                 picTray_MouseMove(message);
                             }
                         });
    }
    m_trayIcon->setIcon(m_window.windowIcon());
    m_trayIcon->setToolTip(QStringLiteral("Trafalo"));
    m_trayIcon->show();
    m_areaCheck.start();
}

void TrayIcon::sampled() {
    if (!m_areaCheck.isActive()) {
        return;
    }
    m_areaCheck.start(); // pushed back: the samples do the checking
    if (++m_samplesSinceCheck >= kAreaCheckSamples) {
        m_samplesSinceCheck = 0;
        CheckNotificationArea();
    }
}

void TrayIcon::UpdateTrayIcon(bool& idle) {
    if (!m_trayIcon) {
        return;
    }
    // The previous picture is released as the new icon replaces it.
    m_trayIcon->setIcon(idle ? m_window.windowIcon() : QIcon(QPixmap::fromImage(m_traffic.TrayPicture())));
    const std::string tip = TrayToolTip(m_traffic.SpeedCaption(true), m_traffic.SpeedCaption(false));
    m_trayIcon->setToolTip(QString::fromStdString(tip));
}

void TrayIcon::RemoveTrayIcon() {
    m_areaCheck.stop();
    if (m_trayIcon) {
        m_trayIcon->hide();
    }
}

void TrayIcon::picTray_MouseMove(int message) {
    if (!hidden()) {
        return;
    }
    if (message == 513) {
        mnuPopupHide_Click();
    } else if (message == 516) {
        m_host.openPopupMenu();
    }
}

void TrayIcon::mnuPopupHide_Click() {
    m_returnToArea = false; // the user decides now
    if (!hidden()) {
        // Hidden behind an icon nobody can see, the program could only be
        // ended from outside: without a notification area the window stays.
        if (!Available()) {
            return;
        }
        AddTrayIcon();
        m_window.hide();
    } else {
        showWindow();
    }
    m_host.settingsChanged();
}

void TrayIcon::showWindow() {
    m_startHidden = false;
    m_window.show();
    m_window.activateWindow();
    m_window.raise();
    RemoveTrayIcon();
}

void TrayIcon::CheckNotificationArea() {
    if (hidden() && !Available()) {
        showWindow();
        m_returnToArea = true;
        m_areaCheck.start();
    } else if (m_returnToArea && Available()) {
        m_returnToArea = false;
        if (!hidden()) {
            AddTrayIcon();
            m_window.hide();
        }
        m_host.settingsChanged();
    }
}
