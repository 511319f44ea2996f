#include "display/GraphView.h"

#include <QPaintEvent>
#include <QPainter>

void GraphView::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    if (m_image) {
        // The picture may have more pixels than the widget (a 2x screen):
        // the part to draw is found in its own pixels.
        const QImage& image = m_image();
        const qreal ratio = image.devicePixelRatio();
        const QRect r = event->rect();
        p.drawImage(QRectF(r), image,
                    QRectF(r.x() * ratio, r.y() * ratio, r.width() * ratio, r.height() * ratio));
    } else {
        p.fillRect(event->rect(), Qt::black);
    }
}
