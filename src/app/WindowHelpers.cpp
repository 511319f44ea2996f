#include "WindowHelpers.h"

#include <QWidget>
#include <QWindow>

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

bool DragWindow(QWidget& window) {
    QWindow* handle = window.windowHandle();
    return handle && handle->startSystemMove();
}
