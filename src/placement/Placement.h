#pragma once
// Where the main window stands: its place at start-up, the magnetic screen
// edges kept by a fast tick after every move, resize and change of layout or
// screen, and dragging by the labels.
#include "core/Feature.h"

#include <QObject>
#include <QTimer>

class QWidget;

class Placement : public Feature, private QObject {
public:
    Placement(WindowHost& host, QWidget& window);

    void start(const StartupSettings& settings) override;
    void modeChanged(std::int32_t mode) override;
    void addSettings(SettingsList& keys) const override;
    void stop() override;

    // A button went down on a drag area with the pointer at pressedAt
    // (screen pixels): left drags the window, right opens the menu, any
    // other does nothing.
    void DragOrMenu(Qt::MouseButton button, QPoint pressedAt);
    // The snapping tick: pulls the window flush to an edge within 16 pixels.
    void tmrFormMove_Timer();
    bool FormMoveTimerActive() const { return m_tmrFormMove.isActive(); }

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void armFormMoveTimer();

    WindowHost& m_host;
    QWidget& m_window;
    QTimer m_tmrFormMove;
    bool m_movedSinceTick = false;
};
