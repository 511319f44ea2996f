#pragma once
// A label that keeps its drawn text as a picture. The labels over the graph
// are repainted with it every second, and QLabel lays its text out and draws
// every glyph again on each repaint; an unchanged label now costs one copy of
// its picture. Pictures, rich text and wrapped text are left to QLabel.
#include <QImage>
#include <QLabel>

class TextLabel : public QLabel {
public:
    using QLabel::QLabel;

    // Resizes the label to its text, as adjustSize() does, measuring a
    // single line of plain text directly instead of laying it out as a
    // paragraph. A label that cannot be seen is resized when it is shown: a
    // window hidden in the tray does not measure texts nobody sees.
    void fitToText();

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool drawsPlainText() const;
    void drawPicture();

    QImage m_picture;
    // What the picture is, or is to be, drawn for.
    QString m_pictureText;
    Qt::Alignment m_pictureAlignment;
    QSize m_pictureSize;
    qreal m_pictureRatio = 0;
    bool m_fitPending = false;
};
