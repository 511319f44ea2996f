#include "display/WindowPlace.h"

#include <QWidget>
#include <QWindow>

QPoint SyncWindowPlace(QWidget& window, const IWindowSystem& windows) {
    QWindow* handle = window.windowHandle();
    if (!handle || !window.isVisible()) {
        return window.geometry().topLeft();
    }
    const std::optional<ScreenPoint> place = windows.placeOf(window.winId());
    if (!place) {
        return window.geometry().topLeft();
    }
    const qreal ratio = handle->devicePixelRatio();
    const QPoint real(qRound(place->x / ratio), qRound(place->y / ratio));
    // The widget and its native window each keep a place, and the widget
    // passes a move on only when its own differs: each is corrected on its
    // own. A move to where the window already stands moves nothing on screen.
    if (real != handle->position()) {
        handle->setPosition(real);
    }
    if (real != window.geometry().topLeft()) {
        window.move(real);
    }
    return real;
}

void ResizeInPlace(QWidget& window, const IWindowSystem& windows, QSize size) {
    SyncWindowPlace(window, windows);
    window.setFixedSize(size);
}

void SetTopMost(QWidget& window, bool topMost) {
    Qt::WindowFlags flags = window.windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, topMost);
    // QWidget::setWindowFlags would hide the window and map it again; the
    // native window takes the change in place.
    window.overrideWindowFlags(flags);
    if (QWindow* handle = window.windowHandle()) {
        handle->setFlags(flags);
    }
}
