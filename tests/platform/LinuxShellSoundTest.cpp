// The shell and the event sounds on the real system: a batch file run
// hidden, the system monitor found on the path, no sound without libcanberra.
#include "platform/linux/CanberraSound.h"
#include "platform/linux/LinuxMemoryClaim.h"
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

// While a free offers the widget to the out-of-memory killer, a program it
// starts (the batch file, the task manager) must not inherit that offer for
// its whole life: it starts with the widget's ordinary score.
TEST(LinuxShell, AProgramStartedDuringAFreeHasTheOrdinaryOomScore) {
    const std::string ordinary = slurp("/proc/self/oom_score_adj");
    QTemporaryDir dir;
    const std::string bin = dir.path().toStdString();
    const std::string script = "cat /proc/$$/oom_score_adj > '" + bin + "/score.'\"$(basename \"$0\")\"\n";
    std::ofstream(bin + "/bwatch.bat") << script;
    std::ofstream(bin + "/lxtask") << "#!/bin/sh\n" << script;
    std::filesystem::permissions(bin + "/lxtask", std::filesystem::perms::owner_all);
    LinuxMemoryClaim memory;
    memory.offerAsFirstVictim(true);
    ASSERT_EQ(slurp("/proc/self/oom_score_adj"), "1000\n");
    LinuxShell shell;
    const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", (bin + ":" + oldPath).c_str(), 1);
    EXPECT_TRUE(shell.runHidden(bin + "/bwatch.bat"));
    EXPECT_TRUE(shell.openTaskManager());
    ::setenv("PATH", oldPath.c_str(), 1);
    EXPECT_EQ(slurp("/proc/self/oom_score_adj"), "1000\n"); // the offer stands for the free
    memory.offerAsFirstVictim(false);
    for (const char* name : {"bwatch.bat", "lxtask"}) {
        const std::string out = bin + "/score." + name;
        ASSERT_TRUE(waitFor([&] { return !slurp(out).empty(); }, 5000)) << name;
        EXPECT_EQ(slurp(out), ordinary) << name;
    }
    EXPECT_EQ(slurp("/proc/self/oom_score_adj"), ordinary);
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
