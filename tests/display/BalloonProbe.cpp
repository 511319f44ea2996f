// Shows one balloon through the tray icon class on the real desktop and
// prints the balloon events it raised: the suite of the Free Memory window
// reads the notification that arrived. Usage: balloon_probe TITLE TEXT
#include "display/clsSystray.h"

#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 3) {
        return 2;
    }
    QWidget owner;
    QPixmap picture(22, 22);
    picture.fill(Qt::darkGreen);
    clsSystray tray;
    tray.SetOwner(&owner);
    tray.BalloonShow = [] { std::puts("shown"); };
    tray.BalloonTimeout = [] {
        std::puts("timed out");
        QCoreApplication::quit();
    };
    const int added = tray.AddIconToTray(QIcon(picture), "probe", true);
    const int shown = tray.ShowBalloon(argv[2], argv[1], 1, 1500);
    std::printf("add %d, balloon %d\n", added, shown);
    std::fflush(stdout);
    QTimer::singleShot(5000, &app, &QCoreApplication::quit); // never hangs
    return QApplication::exec();
}
