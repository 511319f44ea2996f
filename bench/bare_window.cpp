// An empty Qt window: the yardstick for the widget's resident memory.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.resize(366, 217);
    window.show();
    return QApplication::exec();
}
