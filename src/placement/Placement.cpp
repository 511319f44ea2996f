#include "placement/Placement.h"

#include "core/SettingsKeys.h"
#include "placement/WindowHelpers.h"
#include "placement/WindowPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

Placement::Placement(WindowHost& host, QWidget& window) : m_host(host), m_window(window) {
    m_tmrFormMove.setInterval(50);
    QObject::connect(&m_tmrFormMove, &QTimer::timeout, this, [this] { tmrFormMove_Timer(); });
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QObject::connect(screen, &QScreen::geometryChanged, this, [this] { armFormMoveTimer(); });
    }
    m_window.installEventFilter(this);
}

void Placement::start(const StartupSettings& settings) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int screenWidth = screen ? screen->geometry().width() : 1024;
    const WindowPlace place = PlaceAtStartup(settings.left, settings.top, screenWidth * kTwipsPerPixel,
                                             m_window.width() * kTwipsPerPixel);
    m_window.winId(); // the native window exists before it is placed, so its place is known to Qt
    m_window.move(place.left / kTwipsPerPixel, place.top / kTwipsPerPixel);
    armFormMoveTimer();
}

void Placement::modeChanged(std::int32_t) {
    armFormMoveTimer();
}

void Placement::stop() {
    m_tmrFormMove.stop();
}

void Placement::addSettings(SettingsList& keys) const {
    const ScreenPoint place = m_host.windowPlace();
    keys.emplace_back(kKeyLeft, std::to_string(place.x * kTwipsPerPixel));
    keys.emplace_back(kKeyTop, std::to_string(place.y * kTwipsPerPixel));
}

bool Placement::eventFilter(QObject* watched, QEvent* event) {
    // A move, and a resize too: a layout that grows the window to the right
    // of the screen's edge must be pulled back like a drag would be.
    if (watched == &m_window && (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
        armFormMoveTimer();
    }
    return false;
}

void Placement::DragOrMenu(Qt::MouseButton button, QPoint pressedAt) {
    if (button == Qt::LeftButton) {
        // A release of the left button must not start a move that would
        // follow the pointer with no button held.
        if (QGuiApplication::mouseButtons() & Qt::LeftButton) {
            m_host.windowPlace(); // the drag follows the pointer from where the window stands
            DragWindow(m_window, pressedAt);
        }
    } else if (button == Qt::RightButton) {
        m_host.openPopupMenu();
    }
}

void Placement::armFormMoveTimer() {
    m_movedSinceTick = true;
    if (!m_tmrFormMove.isActive()) {
        m_tmrFormMove.start();
    }
}

void Placement::tmrFormMove_Timer() {
    const bool moved = m_movedSinceTick;
    m_movedSinceTick = false;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        return;
    }
    const ScreenPoint at = m_host.windowPlace();
    SnapGeometry g;
    g.left = at.x * kTwipsPerPixel;
    g.top = at.y * kTwipsPerPixel;
    g.width = m_window.width() * kTwipsPerPixel;
    g.height = m_window.height() * kTwipsPerPixel;
    g.screenWidth = screen->geometry().width() * kTwipsPerPixel;
    g.screenHeight = screen->geometry().height() * kTwipsPerPixel;
    const WindowPlace place = SnapToScreenEdges(g);
    if (place.left != g.left || place.top != g.top) {
        m_window.move(place.left / kTwipsPerPixel, place.top / kTwipsPerPixel);
    } else if (!moved) {
        // The window stands still: the tick sleeps until it moves again
        // (a drag, a command, a change of layout or of the screen), and its
        // new place is saved.
        m_tmrFormMove.stop();
        m_host.settingsChanged();
    }
}
