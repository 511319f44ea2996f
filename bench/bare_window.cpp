// An empty Qt window: the yardstick for the widget's resident memory and, with
// "--tick MS", for what a window costs that only wakes up on a timer.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.resize(366, 217);
    window.show();
    QTimer tick;
    const QStringList arguments = QApplication::arguments();
    const qsizetype at = arguments.indexOf(QStringLiteral("--tick"));
    if (at >= 0 && at + 1 < arguments.size()) {
        tick.start(arguments.at(at + 1).toInt());
    }
    return QApplication::exec();
}
