#include "LinuxShell.h"

#include <QFileInfo>
#include <QProcess>

bool LinuxShell::runHidden(const std::string& path) {
    const QString file = QString::fromStdString(path);
    QProcess process;
    process.setProgram(QStringLiteral("/bin/sh"));
    process.setArguments({file});
    process.setWorkingDirectory(QFileInfo(file).absolutePath());
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    return process.startDetached();
}
