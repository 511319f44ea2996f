#include "Pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

// A transparent picture of width x height logical pixels at the ratio; a
// painter on it draws in logical pixels.
QImage canvas(int width, int height, qreal ratio) {
    QImage image(qRound(width * ratio), qRound(height * ratio), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    return image;
}

} // namespace

QImage DrawGlobe(int size, qreal ratio) {
    QImage image = canvas(size, size, ratio);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size;
    const QRectF ball(s * 0.06, s * 0.06, s * 0.88, s * 0.88);
    QRadialGradient sea(ball.center() - QPointF(s * 0.15, s * 0.18), s * 0.6);
    sea.setColorAt(0, QColor(150, 210, 255));
    sea.setColorAt(0.55, QColor(30, 110, 220));
    sea.setColorAt(1, QColor(10, 40, 120));
    // A dark rim keeps the ball apart from a light panel, a light one from a dark panel.
    p.setPen(QPen(QColor(8, 24, 70), s / 16));
    p.setBrush(sea);
    p.drawEllipse(ball);
    QPainterPath clip;
    clip.addEllipse(ball);
    p.setClipPath(clip);
    p.setPen(QPen(QColor(220, 240, 255, 200), std::max(1.0, s / 32)));
    p.setBrush(Qt::NoBrush);
    for (const double w : {0.22, 0.5}) {
        p.drawEllipse(
            QRectF(ball.center().x() - ball.width() * w / 2, ball.top(), ball.width() * w, ball.height()));
    }
    p.drawLine(QPointF(ball.center().x(), ball.top()), QPointF(ball.center().x(), ball.bottom()));
    for (const double y : {0.28, 0.5, 0.72}) {
        p.drawLine(QPointF(ball.left(), ball.top() + ball.height() * y),
                   QPointF(ball.right(), ball.top() + ball.height() * y));
    }
    p.setClipping(false);
    p.setPen(QPen(QColor(255, 255, 255, 150), std::max(1.0, s / 20)));
    p.drawArc(ball.adjusted(s * 0.12, s * 0.12, -s * 0.12, -s * 0.12), 100 * 16, 60 * 16);
    return image;
}

QImage DrawTitleStrip() {
    QImage image(4, 56, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient gradient(0, 0, 0, 56);
    gradient.setColorAt(0, QColor(244, 244, 255));
    gradient.setColorAt(0.45, QColor(192, 192, 255));
    gradient.setColorAt(1, QColor(112, 112, 224));
    p.fillRect(image.rect(), gradient);
    return image;
}

QImage DrawSpeaker(bool muted, qreal ratio) {
    QImage image = canvas(24, 24, ratio);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath body;
    body.moveTo(3, 9);
    body.lineTo(7, 9);
    body.lineTo(12, 4);
    body.lineTo(12, 20);
    body.lineTo(7, 15);
    body.lineTo(3, 15);
    body.closeSubpath();
    p.setPen(QPen(QColor(20, 20, 40), 1.2));
    p.setBrush(QColor(200, 200, 220));
    p.drawPath(body);
    if (muted) {
        p.setPen(QPen(QColor(220, 30, 30), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(14.5, 8.5), QPointF(21.5, 15.5));
        p.drawLine(QPointF(21.5, 8.5), QPointF(14.5, 15.5));
    } else {
        p.setPen(QPen(QColor(60, 160, 255), 1.8, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(9, 7, 8, 10), -50 * 16, 100 * 16);
        p.drawArc(QRectF(8, 4, 13, 16), -50 * 16, 100 * 16);
    }
    return image;
}

QIcon WindowIcon() {
    QIcon icon;
    for (const int size : {16, 22, 32, 48, 64}) {
        icon.addPixmap(QPixmap::fromImage(DrawGlobe(size)));
    }
    return icon;
}

QImage DrawMemoryModule(int size, qreal ratio) {
    QImage image = canvas(size, size, ratio);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size;
    const QRectF board(s * 0.04, s * 0.22, s * 0.92, s * 0.56);
    p.setPen(QPen(QColor(10, 60, 20), std::max(1.0, s / 24)));
    p.setBrush(QColor(40, 150, 60));
    p.drawRoundedRect(board, s * 0.05, s * 0.05);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(25, 25, 30));
    for (int i = 0; i < 3; ++i) {
        p.drawRect(QRectF(s * (0.12 + 0.27 * i), s * 0.3, s * 0.2, s * 0.28));
    }
    p.setBrush(QColor(230, 180, 40));
    for (int i = 0; i < 6; ++i) {
        p.drawRect(QRectF(s * (0.1 + 0.14 * i), s * 0.64, s * 0.08, s * 0.12));
    }
    return image;
}

QIcon MemoryIcon() {
    QIcon icon;
    for (const int size : {16, 22, 32, 48, 64}) {
        icon.addPixmap(QPixmap::fromImage(DrawMemoryModule(size)));
    }
    return icon;
}

QImage DrawCloseButton(bool hover, qreal ratio) {
    QImage image = canvas(13, 12, ratio);
    QPainter p(&image);
    if (hover) {
        const QRect whole(0, 0, 13, 12);
        p.fillRect(whole, QColor(255, 255, 255));
        p.setPen(QColor(90, 90, 160));
        p.drawRect(whole.adjusted(0, 0, -1, -1));
    }
    p.setPen(QPen(hover ? QColor(200, 20, 20) : QColor(60, 60, 110), 1.6));
    p.setRenderHint(QPainter::Antialiasing);
    p.drawLine(QPointF(3.5, 3), QPointF(9.5, 9));
    p.drawLine(QPointF(9.5, 3), QPointF(3.5, 9));
    return image;
}

QImage DrawEject(qreal ratio) {
    QImage image = canvas(20, 20, ratio);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(20, 20, 40), 1.0));
    p.setBrush(QColor(60, 120, 220));
    const QPointF triangle[] = {{10, 3}, {17.5, 11}, {2.5, 11}};
    p.drawPolygon(triangle, 3);
    p.drawRect(QRectF(2.5, 13.5, 15, 3));
    return image;
}
