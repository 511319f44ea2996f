#include "platform/common/QtSettingsStore.h"

#include "core/AppSettings.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(QtSettingsStore, RoundTripsTextWithSpacesCommasAndUnicode) {
    QTemporaryDir dir;
    {
        QtSettingsStore store(dir.path());
        EXPECT_TRUE(store.set("Trafalo", "Setting", "System tray icon type", "False"));
        EXPECT_TRUE(store.set("Trafalo", "Setting", "url", "http://a,b/ü?x=1;y"));
        EXPECT_TRUE(store.set("Lorvane", "Settings", "AutoFreeMemMB", "25"));
    }
    QtSettingsStore store(dir.path());
    EXPECT_EQ(store.get("Trafalo", "Setting", "System tray icon type", "?"), "False");
    EXPECT_EQ(store.get("Trafalo", "Setting", "url", "?"), "http://a,b/ü?x=1;y");
    EXPECT_EQ(store.get("Lorvane", "Settings", "AutoFreeMemMB", "?"), "25");
    EXPECT_EQ(store.get("Trafalo", "Setting", "missing", "dflt"), "dflt");
    EXPECT_TRUE(QFile::exists(dir.path() + "/Trafalo/Trafalo.ini"));
    EXPECT_TRUE(QFile::exists(dir.path() + "/Lorvane/Lorvane.ini"));
}

TEST(QtSettingsStore, GarbageFilesGiveDefaultsWithoutACrash) {
    const QByteArray garbage[] = {
        QByteArray("\x00\xff\xfe[Setting\n=\n==\nLeft=@Variant(\\0\\0\\0\\x7f)\nTop", 44),
        QByteArray("[Setting]\nLeft=12,34,56\nSmallUI=-99999999999999999\nSound=maybe\n"),
        QByteArray(1 << 20, '['),
    };
    for (const QByteArray& bytes : garbage) {
        QTemporaryDir dir;
        writeFile(dir.path() + "/Trafalo/Trafalo.ini", bytes);
        QtSettingsStore store(dir.path());
        const StartupSettings s = ReadStartupSettings(store, "/nonexistent/", "C");
        EXPECT_EQ(s.smallUI, 2);
        EXPECT_EQ(s.left, std::nullopt);
        EXPECT_TRUE(s.options.analogTrayIcon);
    }
}

TEST(QtSettingsStore, AReadOnlyFolderFailsWritesButReads) {
    QTemporaryDir dir;
    writeFile(dir.path() + "/Trafalo/Trafalo.ini", "[Setting]\nSound=False\n");
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    ::chmod(QFile::encodeName(dir.path() + "/Trafalo").constData(), 0555);
    ::chmod(QFile::encodeName(dir.path() + "/Trafalo/Trafalo.ini").constData(), 0444);
    // Root writes anywhere: check as an ordinary user in a child process.
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(3);
        }
        QtSettingsStore store(dir.path());
        const bool read = store.get("Trafalo", "Setting", "Sound", "True") == "False";
        const bool refused = !store.set("Trafalo", "Setting", "Sound", "True");
        ::_exit(read && refused ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    ::chmod(QFile::encodeName(dir.path() + "/Trafalo").constData(), 0700);
}

TEST(QtSettingsStore, AnUnwritableFileFailsWritesButReads) {
    QTemporaryDir dir;
    // A folder where the file should be: nothing can replace it, as root too.
    QDir().mkpath(dir.path() + "/Trafalo/Trafalo.ini");
    QtSettingsStore store(dir.path());
    EXPECT_EQ(store.get("Trafalo", "Setting", "Sound", "True"), "True");
    EXPECT_FALSE(store.set("Trafalo", "Setting", "Sound", "False"));
}

TEST(QtSettingsStore, AKilledSaveNeverLeavesATornFile) {
    QTemporaryDir dir;
    const std::string big(20000, 'x');
    for (int round = 0; round < 20; ++round) {
        const pid_t child = ::fork();
        if (child == 0) {
            QtSettingsStore store(dir.path());
            for (int i = 0;; ++i) {
                SaveShutdownSettings(store, {{"Connection", std::to_string(i)}, {"Left", "0"}});
                store.set("Trafalo", "Setting", "url", big);
            }
        }
        ::usleep(static_cast<useconds_t>(3000 + round * 1500));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const QString path = dir.path() + "/Trafalo/Trafalo.ini";
        if (!QFile::exists(path)) {
            continue;
        }
        // Whatever moment the save was killed at, the file is one that was
        // written whole: its last line is complete and the long value intact.
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        ASSERT_FALSE(bytes.isEmpty()) << "round " << round;
        EXPECT_TRUE(bytes.endsWith('\n')) << "round " << round;
        QSettings check(path, QSettings::IniFormat);
        EXPECT_EQ(check.status(), QSettings::NoError);
        if (check.contains("Setting/url")) {
            EXPECT_EQ(check.value("Setting/url").toString().size(), 20000) << "round " << round;
        }
    }
}

} // namespace
