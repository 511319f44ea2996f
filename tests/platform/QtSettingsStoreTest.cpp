// The settings store on real files: what QSettings reads back, junk set
// aside, writes that cannot be done.
#include "platform/common/QtSettingsStore.h"

#include "core/AppSettings.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

TEST(QtSettingsStore, TheShutdownListIsOneWriteInItsOwnOrder) {
    QTemporaryDir dir;
    writeFile(dir.path() + "/Trafalo/Trafalo.ini", "[Setting]\nurl=http://x/\nTray=True\nConnection=4\n");
    QtSettingsStore store(dir.path());
    EXPECT_TRUE(SaveShutdownSettings(
        store, {{"Tray", "False"}, {"Connection", "1"}, {"System tray icon type", "True"}}));
    EXPECT_EQ(readFile(dir.path() + "/Trafalo/Trafalo.ini"),
              "[Setting]\nurl=http://x/\nConnection=1\nTray=False\nSystem%20tray%20icon%20type=True\n");
}

TEST(QtSettingsStore, JunkIsSetAsideAndTheDefaultsUsed) {
    const QByteArray junk[] = {
        QByteArray("\x00\xff\xfe[Setting\n=\n==\nLeft=@Variant(\\0\\0\\0\\x7f)\nTop", 44),
        QByteArray(QtSettingsStore::kMaxFileBytes + 1, 'x').prepend("[Setting]\nurl="),
        QByteArray(4096, '['),
        QByteArray("[Setting]\nSound=\xff\xfe\n"),
    };
    for (const QByteArray& bytes : junk) {
        QTemporaryDir dir;
        const QString path = dir.path() + "/Trafalo/Trafalo.ini";
        writeFile(path, bytes);
        QtSettingsStore store(dir.path());
        EXPECT_EQ(ReadStartupSettings(store, "/nonexistent/", "C").smallUI, 2);
        EXPECT_EQ(readFile(path + ".bad"), bytes); // kept for the user
        EXPECT_TRUE(store.set("Trafalo", "Setting", "SmallUI", "1"));
        EXPECT_EQ(readFile(path), "[Setting]\nSmallUI=1\n");
    }
    // Odd values in a sound file are read as such, not set aside.
    QTemporaryDir dir;
    writeFile(dir.path() + "/Trafalo/Trafalo.ini", "; mine\n[Setting]\nLeft=12,34,56\nSmallUI=-9999999999\n");
    QtSettingsStore store(dir.path());
    EXPECT_EQ(store.get("Trafalo", "Setting", "Left", "?"), "12,34,56");
    EXPECT_FALSE(QFile::exists(dir.path() + "/Trafalo/Trafalo.ini.bad"));
}

TEST(QtSettingsStore, AWriteThatCannotBeDoneFails) {
    // A folder where the file should be: nothing can replace it, as root too.
    QTemporaryDir other;
    QDir().mkpath(other.path() + "/Trafalo/Trafalo.ini");
    QtSettingsStore store(other.path());
    EXPECT_FALSE(store.set("Trafalo", "Setting", "Sound", "False"));
    // No configuration folder at all: nothing written anywhere.
    QtSettingsStore nowhere{QString()};
    EXPECT_FALSE(nowhere.set("Trafalo", "Setting", "Sound", "False"));
    EXPECT_EQ(nowhere.get("Trafalo", "Setting", "Sound", "?"), "False"); // kept for this run
}

} // namespace
