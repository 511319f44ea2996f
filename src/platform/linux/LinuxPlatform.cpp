// Wires the Linux implementations of every platform concern.
#include "CanberraSound.h"
#include "LinuxDrives.h"
#include "LinuxInstanceLock.h"
#include "LinuxLocalAddress.h"
#include "LinuxMemoryClaim.h"
#include "LinuxNetworkTable.h"
#include "LinuxPowerStatus.h"
#include "LinuxProcesses.h"
#include "LinuxShell.h"
#include "LinuxSystemInfo.h"
#include "LinuxTaskbar.h"
#include "ModulePageReader.h"
#include "PulseSpeakers.h"
#include "SessionType.h"
#include "X11WindowSystem.h"
#include "XdgAutostart.h"
#include "platform/Platform.h"
#include "platform/common/QtSettingsStore.h"
#include "platform/common/SystemClock.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QStandardPaths>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// $XDG_CONFIG_HOME, else ~/.config; none without either: the program then
// runs without saving rather than writing under "/.config".
QString configFolder() {
    QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (xdg.startsWith('/')) {
        return xdg;
    }
    const QString home = qEnvironmentVariable("HOME");
    return home.startsWith('/') ? home + QStringLiteral("/.config") : QString();
}

} // namespace

Platform createPlatform() {
    Platform p;
    p.clock = std::make_unique<SystemClock>();
    p.network = std::make_unique<LinuxNetworkTable>();
    p.system = std::make_unique<LinuxSystemInfo>();
    p.settings = std::make_unique<QtSettingsStore>(configFolder());
    p.instanceLock = std::make_unique<LinuxInstanceLock>(
        (QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + QStringLiteral("/trafalo.lock"))
            .toStdString());
    p.shell = std::make_unique<LinuxShell>();
    p.sound = std::make_unique<CanberraSound>();
    p.power = std::make_unique<LinuxPowerStatus>();
    const QString config = configFolder();
    p.autostart = std::make_unique<XdgAutostart>(config.isEmpty() ? std::string()
                                                                  : config.toStdString() + "/autostart");
    p.drives = std::make_unique<LinuxDrives>();
    p.speakers = std::make_unique<PulseSpeakers>();
    p.processes = std::make_unique<LinuxProcesses>();
    p.localAddress = std::make_unique<LinuxLocalAddress>();
    p.pages = std::make_unique<ModulePageReader>();
    p.memoryClaim = std::make_unique<LinuxMemoryClaim>();
    p.windows = std::make_unique<X11WindowSystem>();
    p.taskbar = std::make_unique<LinuxTaskbar>(qEnvironmentVariable("XDG_CURRENT_DESKTOP").toStdString());
    return p;
}

std::string programFolder() {
    return QCoreApplication::applicationDirPath().toStdString();
}

std::string programBaseName() {
    // Program files carry no extension here: a dot is part of the name
    // ("trafalo.bin"), and cutting it off would name a file that is not there.
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName().toStdString();
}

std::string executableSuffix() {
    return "";
}

namespace {
EnvironmentVariables g_startVariables; // set for Qt's start only
}

void chooseWindowSystem(int argc, char* argv[]) {
    SessionEnvironment env;
    const auto read = [](const char* name) {
        const char* value = std::getenv(name); // NOLINT(concurrency-mt-unsafe): before any thread
        return std::string(value ? value : "");
    };
    env.qpaPlatform = read("QT_QPA_PLATFORM");
    env.display = read("DISPLAY");
    env.waylandDisplay = read("WAYLAND_DISPLAY");
    env.shmChosen = std::getenv("QT_XCB_NO_MITSHM") != nullptr; // NOLINT(concurrency-mt-unsafe)
    g_startVariables.clear();
    for (const auto& [name, value] : QtStartVariables(env, std::vector<std::string>(argv, argv + argc))) {
        if (::setenv(name.c_str(), value.c_str(), 1) == 0) {
            g_startVariables.emplace_back(name, value);
        }
    }
}

void windowSystemChosen() {
    for (const auto& variable : g_startVariables) {
        ::unsetenv(variable.first.c_str());
    }
    g_startVariables.clear();
    if (QGuiApplication::platformName() == QLatin1String("wayland")) {
        std::fputs(kWaylandLimits, stderr);
    }
    X11WindowSystem::fitFramesInTheSendBuffer();
}

void registerPlatformFonts() {
    // Tahoma is not a free font; Wine ships a metric-compatible one that
    // fontconfig does not list by default.
    static const char* const kFiles[] = {"/usr/share/wine/fonts/tahoma.ttf",
                                         "/usr/share/wine/fonts/tahomabd.ttf"};
    if (QFontDatabase::families().contains(QStringLiteral("Tahoma"))) {
        return;
    }
    for (const char* file : kFiles) {
        if (QFile::exists(QString::fromLatin1(file))) {
            QFontDatabase::addApplicationFont(QString::fromLatin1(file));
        }
    }
}
