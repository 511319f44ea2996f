// Writes the program's globe as the icon theme's pictures:
//   trafalo_icons OUTPUT_FOLDER SIZE...  ->  OUTPUT_FOLDER/hicolor/NxN/apps/trafalo.png
#include "resources/Pictures.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() < 3) {
        std::fputs("usage: trafalo_icons OUTPUT_FOLDER SIZE...\n", stderr);
        return 2;
    }
    for (qsizetype i = 2; i < args.size(); ++i) {
        const int size = args[i].toInt();
        const QString folder = QStringLiteral("%1/hicolor/%2x%2/apps").arg(args[1]).arg(size);
        if (size <= 0 || !QDir().mkpath(folder) ||
            !DrawGlobe(size).save(folder + QStringLiteral("/trafalo.png"))) {
            std::fprintf(stderr, "trafalo_icons: cannot write the %s picture\n", qUtf8Printable(args[i]));
            return 1;
        }
    }
    return 0;
}
