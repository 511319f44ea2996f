// The settings store on real files: what QSettings reads back, junk set
// aside, and no failure ever tearing or emptying the file.
#include "platform/common/QtSettingsStore.h"

#include "core/AppSettings.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

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

// Runs body in a child process (as another user, or in namespaces of its
// own) and returns its exit code.
int inChild(const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 99;
}

TEST(QtSettingsStore, WhatIsWrittenQSettingsReadsBack) {
    const std::string values[] = {"False",       "a,b;c", "\"quoted\" \\ back", " padded ",
                                  "@Variant(x)", "ü ☃ 😀", "two\nlines\ttab",    "#not a comment",
                                  "k=v",         "",      "http://a,b/ü?x=1;y"};
    QTemporaryDir dir;
    {
        QtSettingsStore store(dir.path());
        for (std::size_t i = 0; i < std::size(values); ++i) {
            EXPECT_TRUE(store.set("Trafalo", "Setting", "key " + std::to_string(i) + " %/=", values[i]));
        }
        EXPECT_TRUE(store.set("Lorvane", "Settings", "AutoFreeMemMB", "25"));
    }
    QSettings qt(dir.path() + "/Trafalo/Trafalo.ini", QSettings::IniFormat);
    QtSettingsStore again(dir.path());
    for (std::size_t i = 0; i < std::size(values); ++i) {
        const std::string key = "key " + std::to_string(i) + " %/=";
        EXPECT_EQ(again.get("Trafalo", "Setting", key, "?"), values[i]) << i;
        EXPECT_TRUE(again.has("Trafalo", "Setting", key));
    }
    EXPECT_EQ(again.get("Lorvane", "Settings", "AutoFreeMemMB", "?"), "25");
    EXPECT_FALSE(again.has("Trafalo", "Setting", "missing"));
    EXPECT_EQ(again.get("Trafalo", "Setting", "missing", "dflt"), "dflt");
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

TEST(QtSettingsStore, AFailedWriteLeavesTheOldFileByteForByte) {
    const QByteArray old = "[Setting]\nSound=False\n";
    // A read-only folder, as an ordinary user (root writes anywhere).
    QTemporaryDir dir;
    writeFile(dir.path() + "/Trafalo/Trafalo.ini", old);
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    ::chmod(QFile::encodeName(dir.path() + "/Trafalo").constData(), 0555);
    EXPECT_EQ(inChild([&] {
                  if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
                      return 3;
                  }
                  QtSettingsStore store(dir.path());
                  const bool read = store.get("Trafalo", "Setting", "Sound", "True") == "False";
                  const bool refused = !store.set("Trafalo", "Setting", "Sound", "True");
                  return read && refused ? 0 : 1;
              }),
              0);
    ::chmod(QFile::encodeName(dir.path() + "/Trafalo").constData(), 0700);
    EXPECT_EQ(readFile(dir.path() + "/Trafalo/Trafalo.ini"), old);
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

TEST(QtSettingsStore, AFullDiskKeepsTheOldFileWhole) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to mount a small tmpfs";
    }
    // A 6 KB file on a 64 KiB tmpfs with one or two pages left.
    for (const int freePages : {1, 2}) {
        const int code = inChild([freePages] {
            if (::unshare(CLONE_NEWNS) != 0 ||
                ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
                return 3;
            }
            char folder[] = "/tmp/trafalo-full-XXXXXX";
            if (!::mkdtemp(folder) || ::mount("tmpfs", folder, "tmpfs", 0, "size=64k") != 0) {
                return 4;
            }
            const QString root = QString::fromLatin1(folder);
            const QByteArray old = "[Setting]\nConnection=2\nurl=" + QByteArray(6000, 'u') + "\n";
            writeFile(root + "/Trafalo/Trafalo.ini", old);
            struct statvfs fs {};
            ::statvfs(folder, &fs);
            const qint64 fill = static_cast<qint64>(fs.f_bavail * fs.f_bsize) - freePages * 4096;
            writeFile(root + "/fill", QByteArray(fill, 'f'));
            QtSettingsStore store(root);
            const bool saved =
                SaveShutdownSettings(store, {{"Connection", "1"}, {"Left", "0"}, {"Top", "0"}});
            const bool tidy = QDir(root + "/Trafalo").entryList(QDir::Files).size() == 1; // no temporary left
            QtSettingsStore reread(root);
            // One page cannot hold the new 6 KB file: the old one stays, byte
            // for byte. Two can: the new one is there whole.
            const bool whole = freePages == 1
                                   ? !saved && readFile(root + "/Trafalo/Trafalo.ini") == old
                                   : saved && reread.get("Trafalo", "Setting", "Connection", "") == "1" &&
                                         reread.get("Trafalo", "Setting", "url", "").size() == 6000;
            return whole && tidy ? 0 : 1;
        });
        EXPECT_EQ(code, 0) << freePages << " pages free";
    }
}

TEST(QtSettingsStore, AKilledSaveNeverLeavesATornFile) {
    QTemporaryDir dir;
    const std::string big(20000, 'x');
    for (int round = 0; round < 20; ++round) {
        const pid_t child = ::fork();
        if (child == 0) {
            QtSettingsStore store(dir.path());
            for (int i = 0;; ++i) {
                SaveShutdownSettings(store, {{"Connection", std::to_string(i)}, {"url", big}});
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
        const QByteArray bytes = readFile(path);
        ASSERT_FALSE(bytes.isEmpty()) << "round " << round;
        EXPECT_TRUE(bytes.endsWith('\n')) << "round " << round;
        QtSettingsStore check(dir.path());
        EXPECT_EQ(check.get("Trafalo", "Setting", "url", "").size(), 20000u) << "round " << round;
    }
}

} // namespace
