// An empty Qt window: the yardstick for the widget's resident memory and, with
// "--tick MS", for what a window costs that only wakes up on a timer. With
// "--paint" as well, each tick also repaints a 366 x 77 picture (one new
// column of it), the least a traffic graph shows every second.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace {

class Picture : public QWidget {
public:
    Picture() : m_image(366, 77, QImage::Format_RGB32) { m_image.fill(Qt::black); }
    void advance() {
        m_column = (m_column + 1) % m_image.width();
        for (int y = 0; y < m_image.height(); ++y) {
            m_image.setPixel(m_column, y, y < m_column % m_image.height() ? 0xff000000u : 0xff00ff00u);
        }
        update(0, 0, m_image.width(), m_image.height());
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawImage(0, 0, m_image);
    }

private:
    QImage m_image;
    int m_column = 0;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    Picture window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.resize(366, 217);
    window.show();
    QTimer tick;
    const QStringList arguments = QApplication::arguments();
    const qsizetype at = arguments.indexOf(QStringLiteral("--tick"));
    if (at >= 0 && at + 1 < arguments.size()) {
        if (arguments.contains(QStringLiteral("--paint"))) {
            QObject::connect(&tick, &QTimer::timeout, &window, &Picture::advance);
        }
        tick.start(arguments.at(at + 1).toInt());
    }
    return QApplication::exec();
}
