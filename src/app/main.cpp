// Trafalo: a desktop widget that watches the traffic of one network interface.
#include "app/frmMain.h"
#include "core/ProgramWindows.h"
#include "platform/Platform.h"
#include "tray/TrayIcon.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QPixmapCache>
#include <cstdio>

namespace {

// The options are read before the window system is opened, so --help and
// --version work without a display, and a mistyped option ends the start
// before the settings or the one-instance lock are touched. Other words
// (such as "/tray") are left to the program.
int readCommandLine(int argc, char* argv[]) {
    QStringList words;
    for (int i = 0; i < argc; ++i) {
        words << QString::fromLocal8Bit(argv[i]);
    }
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions); // Qt's own "-display :1"
    parser.setApplicationDescription(
        QStringLiteral("A desktop widget that shows the traffic of one network interface."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version."));
    parser.addOption(help);
    parser.addOption(version);
    // The window system's options, which QApplication takes for itself.
    for (const char* name : {"display", "platform", "platformpluginpath", "platformtheme", "plugin", "style",
                             "stylesheet", "session", "name", "title", "visual", "geometry",
                             "qwindowgeometry", "qwindowicon", "qwindowtitle"}) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    QCommandLineOption reverse(QStringLiteral("reverse"));
    reverse.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(reverse);
    parser.addPositionalArgument(QStringLiteral("/tray"),
                                 QStringLiteral("Start the Free Memory tool in the tray."),
                                 QStringLiteral("[/tray]"));
    const QString usage =
        parser.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("trafalo"));
    if (!parser.parse(words)) {
        std::fprintf(stderr, "trafalo: %s\n\n%s", qUtf8Printable(parser.errorText()), qUtf8Printable(usage));
        return 2;
    }
    if (parser.isSet(help)) {
        std::fputs(qUtf8Printable(usage), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("trafalo %s\n", TRAFALO_VERSION);
        return 0;
    }
    return -1;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication::setApplicationName(QStringLiteral("Trafalo"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TRAFALO_VERSION));
    if (const int code = readCommandLine(argc, argv); code >= 0) {
        return code;
    }
    chooseWindowSystem(argc, argv);
    QApplication app(argc, argv);
    windowSystemChosen();
    // The main window is a tool window, so Qt would take a closing dialog
    // (the About box) for the last window: the program ends by its own
    // shutdown only.
    QApplication::setQuitOnLastWindowClosed(false);
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
    // Both windows save their settings and unload; the last ends the program.
    onTerminationRequest([] { ProgramWindows::CloseAll(); });
    if (!window.Tray().StartsHidden()) {
        window.show();
    }
    return QApplication::exec();
}
