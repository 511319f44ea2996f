#include "drives/RemovableDrives.h"

#include "core/LongOperation.h"
#include "core/SettingsKeys.h"
#include "core/SettingsText.h"
#include "core/clsVolume.h"
#include "display/WindowPlace.h"
#include "platform/IDrives.h"
#include "platform/ISettingsStore.h"
#include "platform/IShell.h"
#include "resources/Pictures.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {

constexpr int kPollMs = 5000;
constexpr int kDropDownMs = 2000;
constexpr int kReassertTicks = 12; // about every 65 s

QPushButton* makeButton(QWidget& window, const char* name, QRect place) {
    auto* button = new QPushButton(&window);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(place);
    button->setFocusPolicy(Qt::NoFocus);
    button->setMouseTracking(true);
    button->hide();
    return button;
}

} // namespace

RemovableDrives::RemovableDrives(DriveServices services, WindowHost& host, QWidget& window, QWidget& graph,
                                 IAlert& alert, std::function<Keys()> keyState)
    : m_system(services), m_host(host), m_window(window), m_graph(graph), m_alert(alert),
      m_keyState(std::move(keyState)), m_usb(services.drives) {
    m_btnEjectUSB = makeButton(window, "btnEjectUSB", QRect(140, -2, kButtonColumn, 30));
    m_btnEjectUSB->setIcon(QIcon(QPixmap::fromImage(DrawEject(window.devicePixelRatioF()))));
    m_btnEjectUSB->setIconSize(QSize(20, 20));
    m_btnVolume = makeButton(window, "btnVolume", QRect(138, -3, 30, 30));
    m_btnVolume->setIconSize(QSize(24, 24));
    m_Drives = new QMenu(&window);
    m_Drives->setObjectName(QStringLiteral("Drives"));
    for (QWidget* control : {static_cast<QWidget*>(m_btnEjectUSB), static_cast<QWidget*>(m_btnVolume)}) {
        control->installEventFilter(this);
    }
    QObject::connect(m_btnVolume, &QPushButton::clicked, this, [this] {
        ToggleMute(m_system.speakers);
        drawSpeaker(clsVolume(m_system.speakers).GetMute());
        tmrPollUSB_Timer();
        m_tmrDropDown.stop();
    });
    QObject::connect(m_Drives, &QMenu::triggered, this,
                     [this](QAction* entry) { openDrive(entry->text().left(2).toStdString()); });
    m_tmrPollUSB.setInterval(kPollMs);
    QObject::connect(&m_tmrPollUSB, &QTimer::timeout, this, [this] { tmrPollUSB_Timer(); });
    m_tmrDropDown.setInterval(kDropDownMs);
    m_tmrDropDown.setSingleShot(true);
    m_tmrDropDown.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_tmrDropDown, &QTimer::timeout, this, [this] { tmrDropDown_Timer(); });
}

RemovableDrives::~RemovableDrives() = default;

void RemovableDrives::start(const StartupSettings& settings) {
    m_usb.ExcludedDriveLetters = settings.excludedDriveLetters;
}

void RemovableDrives::started() {
    m_started = true;
    // The extended button is the Tiny layout's: the poller runs only there.
    if (m_host.displayMode() == 2) {
        modeChanged(2);
    }
}

void RemovableDrives::modeChanged(std::int32_t mode) {
    m_btnEjectUSB->hide();
    m_btnVolume->hide();
    m_Drives->hide();
    m_tmrPollUSB.stop();
    VolumeButtonRequested = false;
    if (m_started && mode == 2 && m_host.options().showExtendedButton) {
        m_tmrPollUSB.start();
        tmrPollUSB_Timer();
    }
}

void RemovableDrives::stop() {
    m_started = false;
    m_tmrPollUSB.stop();
    m_tmrDropDown.stop();
    m_Drives->hide();
}

void RemovableDrives::graphPointerMoved(int x, int) {
    if (m_started && m_host.options().showExtendedButton && x < 110 && m_host.displayMode() == 2) {
        VolumeButtonRequested = true;
        m_tmrPollUSB.stop();
        tmrPollUSB_Timer();
        m_tmrPollUSB.start();
        VolumeButtonRequested = false;
    }
    m_tmrDropDown.stop();
}

void RemovableDrives::windowDeactivated() {
    m_Drives->hide();
    VolumeButtonRequested = false;
    if (m_started) {
        tmrPollUSB_Timer();
    }
}

void RemovableDrives::addMenuItems(MenuBuilder& menu) {
    menu.add(MenuItem("mnuEjectAllUSB", "Eject All USB devices",
                      [this](std::int16_t) { mnuEjectAllUSB_Click(); }));
    MenuNode exclude = MenuSubmenu("mnuExcludeDrives", "Exclude Drive Letters from Eject", m_keyState().alt);
    for (std::int16_t index = 0; index < 26; ++index) {
        const char letter = static_cast<char>('A' + index);
        MenuNode item = MenuToggle("mnuExcludeDrive", std::string(1, letter) + ":",
                                   m_usb.ExcludedDriveLetters.find(letter) != std::string::npos,
                                   [this](std::int16_t i) { mnuExcludeDrive_Click(i); });
        item.index = index;
        exclude.children.push_back(std::move(item));
    }
    menu.add(std::move(exclude));
    menu.add(MenuToggle("mnuShowExtendedButton", "Show Extended Button", m_host.options().showExtendedButton,
                        [this](std::int16_t) { mnuShowExtendedButton_Click(); }));
}

bool RemovableDrives::takeGesture(Gesture gesture) {
    if (gesture != Gesture::EjectAll) {
        return false;
    }
    mnuEjectAllUSB_Click();
    return true;
}

void RemovableDrives::addSettings(SettingsList& keys) const {
    keys.emplace_back(kKeyShowExtendedButton, BoolText(m_host.options().showExtendedButton));
}

void RemovableDrives::mnuEjectAllUSB_Click() {
    auto operation = LongOperation::Begin(this, "eject");
    if (!operation) {
        return; // one run at a time: the drives are still being worked on
    }
    EjectContext context{m_system.drives, m_system.clock, m_alert,
                         [&operation](int maxMs) { return operation->Wait(maxMs); }};
    m_usb.EjectAllUsbDrives(context);
}

void RemovableDrives::mnuExcludeDrive_Click(std::int16_t Index) {
    if (Index < 0 || Index > 25) {
        return;
    }
    const char letter = static_cast<char>('A' + Index);
    // The check mark shows whether the letter is in the list.
    const bool checked = m_usb.ExcludedDriveLetters.find(letter) == std::string::npos;
    m_usb.ExcludedDriveLetters = ToggleExcludedLetter(m_usb.ExcludedDriveLetters, letter, checked);
    m_system.settings.set(kAppName, kAppSection, kKeyExcludedDriveLetters, m_usb.ExcludedDriveLetters);
}

void RemovableDrives::mnuShowExtendedButton_Click() {
    Options& o = m_host.options();
    o.showExtendedButton = !o.showExtendedButton;
    if (o.showExtendedButton && m_host.displayMode() == 2) {
        m_tmrPollUSB.start();
    } else {
        m_tmrPollUSB.stop();
    }
    tmrPollUSB_Timer();
}

void RemovableDrives::drawSpeaker(std::int32_t muted) {
    if (muted == m_speakerMuted) {
        return;
    }
    m_speakerMuted = muted;
    m_btnVolume->setIcon(QIcon(QPixmap::fromImage(DrawSpeaker(muted == 1, m_window.devicePixelRatioF()))));
    m_btnVolume->setToolTip(muted == 1 ? QStringLiteral("Enable speakers") : QStringLiteral("Mute speakers"));
}

void RemovableDrives::sampled() {
    if (!m_tmrPollUSB.isActive()) {
        return; // no poller outside the Tiny layout
    }
    // While samples come they do the polling, in the wake-up they take
    // anyway; the timer, pushed back by each, polls only when none come.
    m_tmrPollUSB.start();
    if (++m_samplesSincePoll >= kPollMs / 1000) {
        tmrPollUSB_Timer();
    }
}

void RemovableDrives::tmrPollUSB_Timer() {
    m_samplesSincePoll = 0;
    const bool requested = std::exchange(VolumeButtonRequested, false);
    const bool checked = m_host.options().showExtendedButton;
    const std::size_t usb = checked && !requested ? m_usb.FirstUsbDrive().size() : 0;
    const ExtendedButton button = ChooseExtendedButton(checked, requested, usb, m_host.displayMode());
    if (requested) {
        // Asked on every move over the graph: the state is the sound
        // server's last word, which may arrive after the first move.
        drawSpeaker(clsVolume(m_system.speakers).GetMute());
    }
    if (!button.unchanged) {
        if (!requested && m_btnVolume->icon().isNull()) {
            drawSpeaker(0);
        }
        m_btnEjectUSB->setVisible(button.eject);
        m_btnVolume->setVisible(button.volume);
    }
    // Only the Tiny layout is the graph and the button column: sizing any
    // other layout to the graph would cut it down.
    if (m_host.displayMode() == 2) {
        const int width = m_graph.width() + (button.widen ? kButtonColumn : 0);
        if (m_window.width() != width || m_window.height() != m_graph.height()) {
            m_host.resizeWindow(width, m_graph.height());
        }
    }
    if (++PollTickCount > kReassertTicks) {
        PollTickCount = 0;
        reassertWindow();
    }
}

void RemovableDrives::reassertWindow() {
    // Back on top of the z-order, whatever "Always on top" says, but without
    // taking the keyboard from the window the user is typing in.
    if (!m_window.isVisible()) {
        return;
    }
    SetTopMost(m_window, true);
    m_window.raise();
}

void RemovableDrives::tmrDropDown_Timer() {
    m_tmrDropDown.stop();
    if (m_Drives->isVisible()) {
        return;
    }
    m_Drives->clear();
    const DriveTable table = m_system.drives.scan();
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i].type != kDriveNoRootDir) {
            const std::string name = std::string(1, static_cast<char>('A' + i)) + ":";
            m_Drives->addAction(QString::fromStdString(name + " " + m_system.drives.rootOf(name)));
        }
    }
    // Under the pointer resting on the button: the pointer's place comes from
    // the display server, while the window's own idea of its place can be
    // stale under X11. As a popup it closes on Escape, on a click elsewhere
    // and when the focus goes, and not as it opens.
    m_Drives->popup(QCursor::pos() + QPoint(-8, 12));
}

void RemovableDrives::openDrive(const std::string& name) {
    const std::string root = m_system.drives.rootOf(name);
    if (!root.empty()) {
        m_system.shell.openUrl(root);
    }
}

bool RemovableDrives::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) {
        if (event->type() == QEvent::MouseMove && watched == m_btnVolume && m_keyState().ctrlAlone() &&
            !m_usb.FirstUsbDrive().empty()) {
            m_btnVolume->hide();
            tmrPollUSB_Timer();
            QApplication::processEvents();
        }
        if (!m_tmrDropDown.isActive()) {
            m_tmrDropDown.start(); // a timer already running keeps its count
        }
    } else if (event->type() == QEvent::MouseButtonPress && watched == m_btnEjectUSB) {
        m_tmrDropDown.stop();
        const auto button = static_cast<QMouseEvent*>(event)->button();
        if (button == Qt::RightButton) {
            openDrive(m_usb.FirstUsbDrive());
            m_Drives->hide();
            return true;
        }
        if (button == Qt::LeftButton) {
            m_Drives->hide();
            mnuEjectAllUSB_Click();
            tmrPollUSB_Timer();
            m_graph.setFocus();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
