// Model names from udev's hardware database, checked against systemd-hwdb
// for the interfaces of this very machine.
#include "platform/linux/HardwareModels.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

// What systemd-hwdb says for the first modalias on the device's way up that
// has a model, or "".
std::string hwdbModel(const QString& netName) {
    QString path = QFileInfo(QStringLiteral("/sys/class/net/%1/device").arg(netName)).canonicalFilePath();
    // The device itself when it has a parent in /sys/devices, then its parents.
    for (; path.startsWith(QStringLiteral("/sys/devices/")); path = QFileInfo(path).path()) {
        QFile alias(path + QStringLiteral("/modalias"));
        if (!alias.open(QIODevice::ReadOnly)) {
            continue;
        }
        QProcess query;
        query.start(QStringLiteral("systemd-hwdb"),
                    {QStringLiteral("query"), QString::fromUtf8(alias.readAll().trimmed())});
        query.waitForFinished(10000);
        for (const QByteArray& line : query.readAllStandardOutput().split('\n')) {
            if (line.startsWith("ID_MODEL_FROM_DATABASE=")) {
                return line.mid(23).toStdString();
            }
        }
    }
    return {};
}

TEST(HardwareModels, AgreeWithTheDatabaseForEveryInterfaceHere) {
    if (QProcess::execute(QStringLiteral("systemd-hwdb"), {QStringLiteral("--version")}) != 0) {
        GTEST_SKIP() << "systemd-hwdb is not installed";
    }
    HardwareModels models;
    int named = 0;
    for (const QString& name :
         QDir(QStringLiteral("/sys/class/net")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const std::string expected = hwdbModel(name);
        EXPECT_EQ(models.model(name.toStdString()), expected) << name.toStdString();
        named += expected.empty() ? 0 : 1;
    }
    EXPECT_EQ(models.model("lo"), "");
    EXPECT_EQ(models.model("no-such-interface"), "");
    if (named == 0) {
        GTEST_SKIP() << "no interface of this machine has a model in the database";
    }
}

TEST(HardwareModels, WithoutTheLibraryNoInterfaceHasAModel) {
    HardwareModels models("libudev-not-installed.so.1");
    for (const QString& name :
         QDir(QStringLiteral("/sys/class/net")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        EXPECT_EQ(models.model(name.toStdString()), "") << name.toStdString();
    }
}

} // namespace
