// Trafalo: a desktop widget that watches the traffic of one network interface.
#include "app/frmMain.h"
#include "platform/Platform.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Trafalo"));
    QApplication::setApplicationVersion(QStringLiteral(TRAFALO_VERSION));
    registerPlatformFonts();

    Platform platform = createPlatform();
    frmMain window(platform);
    if (!window.Form_Load()) {
        return 0; // another instance is running
    }
    onTerminationRequest([&window] { window.close(); });
    if (!window.StartsHidden()) {
        window.show();
    }
    return QApplication::exec();
}
