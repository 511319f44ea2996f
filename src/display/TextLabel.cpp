#include "display/TextLabel.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QtMath>

bool TextLabel::drawsPlainText() const {
    if (!pixmap().isNull() || text().isEmpty() || wordWrap() || margin() != 0 || indent() > 0 ||
        frameWidth() != 0) {
        return false;
    }
    return textFormat() == Qt::PlainText || (textFormat() == Qt::AutoText && !Qt::mightBeRichText(text()));
}

void TextLabel::paintEvent(QPaintEvent* event) {
    if (!drawsPlainText()) {
        m_picture = QImage();
        QLabel::paintEvent(event);
        return;
    }
    const qreal ratio = devicePixelRatioF();
    if (m_pictureText != text() || m_pictureAlignment != alignment() || m_pictureSize != size() ||
        m_pictureRatio != ratio) {
        // A text shown for the first time is drawn as QLabel draws it: a
        // readout that changes every second would pay for a picture it never
        // shows again. Shown a second time, it is kept.
        m_pictureText = text();
        m_pictureAlignment = alignment();
        m_pictureSize = size();
        m_pictureRatio = ratio;
        m_picture = QImage();
        QLabel::paintEvent(event);
        return;
    }
    if (m_picture.isNull()) {
        drawPicture();
    }
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), m_picture);
}

void TextLabel::fitToText() {
    m_fitPending = !isVisible();
    if (m_fitPending) {
        return;
    }
    if (!drawsPlainText() || text().contains(QLatin1Char('\n'))) {
        adjustSize();
        return;
    }
    const QFontMetricsF metrics(font());
    resize(qCeil(metrics.horizontalAdvance(text())), qCeil(metrics.height()));
}

void TextLabel::drawPicture() {
    const qreal ratio = devicePixelRatioF();
    m_picture = QImage(size() * ratio, QImage::Format_ARGB32_Premultiplied);
    m_picture.setDevicePixelRatio(ratio);
    m_picture.fill(Qt::transparent);

    // What QLabel draws for plain text without frame, margin or indent.
    QPainter painter(&m_picture);
    painter.setFont(font());
    QStyleOption option;
    option.initFrom(this);
    const Qt::LayoutDirection direction = m_pictureText.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight;
    const int flags = static_cast<int>(QStyle::visualAlignment(direction, m_pictureAlignment)) |
                      (direction == Qt::LeftToRight ? Qt::TextForceLeftToRight : Qt::TextForceRightToLeft);
    style()->drawItemText(&painter, contentsRect(), flags, option.palette, isEnabled(), m_pictureText,
                          foregroundRole());
}

void TextLabel::showEvent(QShowEvent* event) {
    if (m_fitPending) {
        fitToText();
    }
    QLabel::showEvent(event);
}

void TextLabel::changeEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::PaletteChange:
    case QEvent::EnabledChange:
    case QEvent::StyleChange:
    case QEvent::LayoutDirectionChange:
        m_picture = QImage();
        break;
    default:
        break;
    }
    QLabel::changeEvent(event);
}
