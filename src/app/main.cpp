// Trafalo: a desktop widget that watches the traffic of one network interface.
#include "app/frmMain.h"
#include "platform/Platform.h"
#include "tray/TrayIcon.h"

#include <QApplication>
#include <QPixmapCache>
#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The main window is a tool window, so Qt would take a closing dialog
    // (the About box) for the last window: the program ends by its own
    // shutdown only.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setApplicationName(QStringLiteral("Trafalo"));
    QApplication::setApplicationVersion(QStringLiteral(TRAFALO_VERSION));
    registerPlatformFonts();
    // The style keeps pictures of the controls it drew (the interface list
    // alone takes four of 44 KB). The few controls here are redrawn rarely:
    // drawing them again costs less than keeping their pictures for good.
    QPixmapCache::setCacheLimit(16);

    Platform platform = createPlatform();
    frmMain window(platform);
    if (!window.Form_Load()) {
        std::fputs("trafalo: already running for this user\n", stderr);
        return 0;
    }
    onTerminationRequest([&window] { window.close(); });
    if (!window.Tray().StartsHidden()) {
        window.show();
    }
    return QApplication::exec();
}
