#include "placement/WindowHelpers.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace {

// Moves the window with the pointer until the left button is released. The
// window's own moves go through Qt, so the snapping tick sees them and can
// pull the window to an edge while it is dragged.
class PointerDrag : public QObject {
public:
    // The offset from where the button went down: the pointer may have moved
    // on by the time the press is handled, and the window must not lag it.
    PointerDrag(QWidget& window, QPoint pressedAt) : m_window(&window), m_offset(pressedAt - window.pos()) {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseMove) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (m_window && mouse->buttons().testFlag(Qt::LeftButton)) {
                m_window->move(mouse->globalPosition().toPoint() - m_offset);
                return true;
            }
            finish();
        } else if (event->type() == QEvent::MouseButtonRelease) {
            // The release ends the drag and belongs to it: the control under
            // the pointer must not take it for a click.
            finish();
            return true;
        }
        return false;
    }

private:
    void finish() {
        qApp->removeEventFilter(this);
        deleteLater();
    }

    QPointer<QWidget> m_window;
    QPoint m_offset;
};

} // namespace

bool DragWindow(QWidget& window, QPoint pressedAt) {
    QWindow* handle = window.windowHandle();
    if (!handle) {
        return false;
    }
    // Where programs may not place their own windows the window manager
    // moves it. Elsewhere the program follows the pointer itself: the
    // system move of the X11 platform starts from a stale place until the
    // window manager first moved the window, which makes it jump.
    if (QGuiApplication::platformName() == QLatin1String("wayland")) {
        return handle->startSystemMove();
    }
    new PointerDrag(window, pressedAt);
    return true;
}
