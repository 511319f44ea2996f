#pragma once
// picGraph: shows the graph's drawn image and passes its mouse events on.
#include <QImage>
#include <QWidget>
#include <functional>

class GraphView : public QWidget {
public:
    explicit GraphView(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

    // Where the picture comes from, asked at each paint.
    void setImage(std::function<const QImage&()> image) { m_image = std::move(image); }
    std::function<void(QMouseEvent*)> onPress, onRelease, onMove, onDoubleClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override { call(onPress, event); }
    void mouseReleaseEvent(QMouseEvent* event) override { call(onRelease, event); }
    void mouseMoveEvent(QMouseEvent* event) override { call(onMove, event); }
    void mouseDoubleClickEvent(QMouseEvent* event) override { call(onDoubleClick, event); }

private:
    static void call(const std::function<void(QMouseEvent*)>& handler, QMouseEvent* event) {
        if (handler) {
            handler(event);
        }
    }
    std::function<const QImage&()> m_image;
};
