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

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool drawsPlainText() const;
    void drawPicture();

    QImage m_picture;
    QString m_pictureText;
    Qt::Alignment m_pictureAlignment;
};
