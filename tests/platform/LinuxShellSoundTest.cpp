// The shell and the event sounds on the real system: a batch file run
// hidden, and sounds played into a PulseAudio null sink of the test's own.
#include "platform/linux/CanberraSound.h"
#include "platform/linux/LinuxShell.h"

#include <QTemporaryDir>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

bool waitFor(const std::function<bool()>& done, int ms) {
    for (int i = 0; i < ms / 20; ++i) {
        if (done()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return done();
}

std::string slurp(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST(LinuxShell, RunsTheBatchFileHiddenAndDetached) {
    QTemporaryDir dir;
    // A folder name a shell would split or expand if the path were pasted in.
    const std::string folder = dir.path().toStdString() + "/it's a $(folder); x";
    ASSERT_TRUE(std::filesystem::create_directories(folder));
    const std::string batch = folder + "/bwatch.bat";
    std::ofstream(batch) << "echo \"$0|$(pwd)\" > out.txt\n[ -t 0 ] && echo tty >> out.txt\n";
    LinuxShell shell;
    ASSERT_TRUE(shell.runHidden(batch));
    const std::string out = folder + "/out.txt";
    ASSERT_TRUE(waitFor([&] { return !slurp(out).empty(); }, 5000));
    EXPECT_EQ(slurp(out), batch + "|" + folder + "\n"); // no terminal on its input
}

// PulseAudio with a null sink in a runtime folder of the test's own.
class NullSink : public testing::Test {
protected:
    void SetUp() override {
        if (::access("/usr/bin/pulseaudio", X_OK) != 0) {
            GTEST_SKIP() << "pulseaudio is not installed";
        }
        ::setenv("XDG_RUNTIME_DIR", m_dir.path().toUtf8().constData(), 1);
        ::setenv("PULSE_RUNTIME_PATH", (m_dir.path() + "/pulse").toUtf8().constData(), 1);
        m_server = ::fork();
        if (m_server == 0) {
            ::execl("/usr/bin/pulseaudio", "pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
                    "--load=module-null-sink", "--load=module-native-protocol-unix", "--log-target=stderr",
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ASSERT_TRUE(waitFor([] { return std::system("pactl info >/dev/null 2>&1") == 0; }, 10000));
    }
    void TearDown() override {
        if (m_server > 0) {
            ::kill(m_server, SIGTERM);
            ::waitpid(m_server, nullptr, 0);
        }
    }
    // Peak of what the sink plays while work runs, from its monitor.
    int peakWhile(const std::function<void()>& work) {
        const std::string raw = m_dir.path().toStdString() + "/rec.raw";
        const pid_t recorder = ::fork();
        if (recorder == 0) {
            ::execl(
                "/bin/sh", "sh", "-c",
                ("exec parec -d null.monitor --raw --format=s16le --channels=1 --rate=44100 > '" + raw + "'")
                    .c_str(),
                static_cast<char*>(nullptr));
            ::_exit(127);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        work();
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        ::kill(recorder, SIGTERM);
        ::waitpid(recorder, nullptr, 0);
        std::ifstream file(raw, std::ios::binary);
        int peak = 0;
        std::int16_t sample = 0;
        while (file.read(reinterpret_cast<char*>(&sample), sizeof sample)) {
            peak = std::max(peak, std::abs(static_cast<int>(sample)));
        }
        return peak;
    }

    QTemporaryDir m_dir;
    pid_t m_server = -1;
};

TEST_F(NullSink, EventSoundsArePlayed) {
    CanberraSound sound;
    bool played = false;
    // The start of the first sound on a fresh server can be lost to the
    // recorder, so the event is played a few times.
    const int peak = peakWhile([&] {
        for (int i = 0; i < 3; ++i) {
            played = sound.playEvent("SystemHand");
            std::this_thread::sleep_for(std::chrono::milliseconds(700));
        }
    });
    EXPECT_TRUE(played);
    EXPECT_GT(peak, 50);
    EXPECT_FALSE(sound.playEvent("NoSuchSound"));
}

TEST(CanberraSound, WithoutTheLibraryNothingPlays) {
    CanberraSound sound("libcanberra-not-installed.so.0");
    EXPECT_FALSE(sound.playEvent("SystemHand"));
    EXPECT_FALSE(sound.playEvent("SystemHand")); // a second call fails as cleanly
}

} // namespace

namespace {

TEST(LinuxShell, OpensTheFirstSystemMonitorOnThePath) {
    QTemporaryDir dir;
    const std::string bin = dir.path().toStdString();
    const std::string marker = bin + "/started";
    for (const char* name : {"lxtask", "qps"}) {
        const std::string path = bin + "/" + name;
        std::ofstream(path) << "#!/bin/sh\necho " << name << " > '" << marker << "'\n";
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    }
    const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", bin.c_str(), 1);
    LinuxShell shell;
    const bool started = shell.openTaskManager();
    ::setenv("PATH", oldPath.c_str(), 1);
    ASSERT_TRUE(started);
    ASSERT_TRUE(waitFor([&] { return !slurp(marker).empty(); }, 5000));
    EXPECT_EQ(slurp(marker), "lxtask\n"); // the earlier of the list
}

TEST(LinuxShell, NoMonitorAndNoTerminalStartsNothing) {
    QTemporaryDir dir;
    const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", dir.path().toUtf8().constData(), 1);
    LinuxShell shell;
    EXPECT_FALSE(shell.openTaskManager());
    ::setenv("PATH", oldPath.c_str(), 1);
}

} // namespace
