// The kill list and which processes it ends.
#include "fakes/FakeClock.h"
#include "fakes/FakeProcesses.h"
#include "killer/KillList.h"
#include "killer/ProcessKill.h"

#include <gtest/gtest.h>

namespace {

TEST(KillList, EntriesCaptionAndPattern) {
    const std::vector<std::string> entries = {"calc", "Note*", "a\tb"};
    for (const char* text : {"; tools\n  calc  \n\n   ;still a comment\nNote*\na\tb\n",
                             "; tools\r\n  calc  \r\n\r\n   ;still a comment\r\nNote*\r\na\tb",
                             "; tools\r  calc  \r\r   ;still a comment\rNote*\ra\tb\r"}) {
        EXPECT_EQ(KillListEntries(text), entries);
        EXPECT_EQ(KillMenuCaption(text), "Kill calc");
    }
    EXPECT_EQ(KillMenuCaption("; only\n\n  \n"), "Kill Processes");
    EXPECT_EQ(EntryPattern("NOTEPAD", ".exe"), "notepad.exe");
    EXPECT_EQ(EntryPattern("NOTEPAD", ""), "notepad");
    EXPECT_EQ(EntryPattern("Note*", ".exe"), "note*");
    EXPECT_EQ(EntryPattern("a.out", ".exe"), "a.out");
}

// "*" on a desktop whose whole session runs as the user: what the widget
// stands on lives, a sibling started by the same terminal still ends.
TEST(KillListedProcesses, AStarSparesTheSessionTheWidgetStandsOn) {
    FakeProcesses p;
    FakeClock clock;
    p.add(1, "init", 0);
    p.add(50, "systemd");                         // the user's service manager
    p.add(60, "dbus-daemon", 1000, false, 50);    // the session bus
    p.add(61, "pipewire-pulse", 1000, false, 50); // the sound server
    p.add(70, "lxsession");                       // the session manager
    p.add(80, "xterm", 1000, false, 70);
    p.add(90, "bash", 1000, false, 80);
    p.add(100, "trafalo", 1000, false, 90); // this program
    p.add(110, "calc", 1000, false, 90);    // a sibling
    p.add(120, "editor", 1000, false, 70);
    p.add(130, "Xorg", 0);
    p.servers = {60, 61};
    KillListedProcesses("*\n", p, clock, "", [&](int ms) {
        clock.ms += ms;
        return true;
    });
    EXPECT_EQ(p.sent, (std::vector<std::string>{"TERM 110", "TERM 120"}));
}

TEST(KillListedProcesses, EndsOnlyOwnMatchesAndForcesTheStubbornAfterTheGrace) {
    FakeProcesses p;
    FakeClock clock;
    p.add(1, "init");
    p.add(2, "kthreadd", 0, true);
    p.add(100, "trafalo"); // this program
    p.add(200, "notepad");
    p.add(201, "notepadx");
    p.add(202, "NotePad");
    p.add(203, "notepad", 0); // another user's
    p.add(204, "stubborn");
    p.stubborn = {204};
    int waited = 0;
    KillListedProcesses("notepad\n*\n", p, clock, "", [&](int ms) {
        clock.ms += ms;
        waited += ms;
        return true;
    });
    EXPECT_EQ(p.sent, (std::vector<std::string>{"TERM 200", "TERM 202", "TERM 201", "TERM 204", "KILL 204"}));
    EXPECT_EQ(waited, 2000); // only the stubborn one was waited for
    std::vector<std::int32_t> left;
    for (const ProcessEntry& e : p.table) {
        left.push_back(e.pid);
    }
    EXPECT_EQ(left, (std::vector<std::int32_t>{1, 2, 100, 203}));
}

} // namespace
