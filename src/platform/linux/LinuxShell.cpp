#include "LinuxShell.h"

#include "OomScore.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

bool LinuxShell::runHidden(const std::string& path) {
    const QString file = QString::fromStdString(path);
    QProcess process;
    process.setProgram(QStringLiteral("/bin/sh"));
    process.setArguments({file});
    process.setWorkingDirectory(QFileInfo(file).absolutePath());
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    return WithOrdinaryOomScore([&] { return process.startDetached(); });
}

namespace {

bool startDetached(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    return WithOrdinaryOomScore([&] { return process.startDetached(); });
}

} // namespace

bool LinuxShell::openTaskManager() {
    static const char* const kMonitors[] = {"gnome-system-monitor",
                                            "plasma-systemmonitor",
                                            "ksysguard",
                                            "xfce4-taskmanager",
                                            "mate-system-monitor",
                                            "lxtask",
                                            "qps"};
    for (const char* name : kMonitors) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty()) {
            return startDetached(path, {});
        }
    }
    static const char* const kTerminals[] = {"x-terminal-emulator", "xterm"};
    for (const char* name : kTerminals) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty()) {
            return startDetached(path, {QStringLiteral("-e"), QStringLiteral("top")});
        }
    }
    return false;
}

bool LinuxShell::openFileManager() {
    // The desktop's handler is started before openUrl returns.
    return WithOrdinaryOomScore(
        [] { return QDesktopServices::openUrl(QUrl::fromLocalFile(QDir::homePath())); });
}

bool LinuxShell::openNetworkConnections() {
    struct Tool {
        const char* program;
        QStringList arguments;
    };
    const Tool tools[] = {{"nm-connection-editor", {}},
                          {"gnome-control-center", {QStringLiteral("network")}},
                          {"systemsettings", {QStringLiteral("kcm_networkmanagement")}},
                          {"xfce4-settings-manager", {}}};
    for (const Tool& tool : tools) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(tool.program));
        if (!path.isEmpty()) {
            return startDetached(path, tool.arguments);
        }
    }
    return false;
}

bool LinuxShell::openUrl(const std::string& address) {
    const QUrl url = QUrl::fromUserInput(QString::fromStdString(address));
    return url.isValid() && WithOrdinaryOomScore([&] { return QDesktopServices::openUrl(url); });
}
