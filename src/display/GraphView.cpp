#include "display/GraphView.h"

#include <QPaintEvent>
#include <QPainter>

void GraphView::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    if (m_image) {
        p.drawImage(event->rect().topLeft(), *m_image, event->rect());
    } else {
        p.fillRect(event->rect(), Qt::black);
    }
}
