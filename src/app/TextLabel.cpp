#include "TextLabel.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

bool TextLabel::drawsPlainText() const {
    if (!pixmap().isNull() || text().isEmpty() || wordWrap() || margin() != 0 || indent() > 0 ||
        frameWidth() != 0) {
        return false;
    }
    return textFormat() == Qt::PlainText || (textFormat() == Qt::AutoText && !Qt::mightBeRichText(text()));
}

void TextLabel::paintEvent(QPaintEvent* event) {
    if (!drawsPlainText()) {
        QLabel::paintEvent(event);
        return;
    }
    const qreal ratio = devicePixelRatioF();
    if (m_picture.isNull() || m_pictureText != text() || m_pictureAlignment != alignment() ||
        m_picture.deviceIndependentSize() != QSizeF(size()) || m_picture.devicePixelRatio() != ratio) {
        drawPicture();
    }
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), m_picture);
}

void TextLabel::drawPicture() {
    const qreal ratio = devicePixelRatioF();
    m_picture = QImage(size() * ratio, QImage::Format_ARGB32_Premultiplied);
    m_picture.setDevicePixelRatio(ratio);
    m_picture.fill(Qt::transparent);
    m_pictureText = text();
    m_pictureAlignment = alignment();

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
