#include "fakes/FakeClock.h"
#include "fakes/FakeProcesses.h"
#include "fakes/FakeTaskbar.h"
#include "tools/KillList.h"
#include "tools/ProcessKill.h"
#include "tools/modIP.h"
#include "tools/modTaskbar.h"

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

TEST(PatternMatches, TheWildcards) {
    static const std::string kLongName(100000, 'a'); // a pattern that backtracking would never finish
    struct Case {
        const char* pattern;
        const char* name;
        bool matches;
    };
    const Case cases[] = {
        {"notepad", "notepad", true},
        {"notepad", "NOTEPAD", true},
        {"notepad", "notepadx", false},
        {"note*", "notepad", true},
        {"*", "", true},
        {"*updater*", "myupdater2", true},
        {"n?te", "note", true},
        {"n?te", "nte", false},
        {"v#", "v7", true},
        {"v#", "vx", false},
        {"[a-c]x", "bx", true},
        {"[a-c]x", "dx", false},
        {"[!a-c]x", "dx", true},
        {"[!a-c]x", "ax", false},
        {"[xyz]", "Y", true},
        {"a[b", "a[b", true},
        {"*.exe", "setup.exe", true},
        {"*.exe", "setup.ex", false},
        {"a*b*c", "aXbYc", true},
        {"a*b*c", "aXbY", false},
        {"**x", "x", true},
        {"", "", true},
        {"", "a", false},
        {"*a*a*a*a*b", kLongName.c_str(), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PatternMatches(c.pattern, c.name), c.matches) << c.pattern << " / " << c.name;
    }
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

} // namespace

namespace {

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

namespace {

TEST(ToggleTaskbar, TheTaskbarsOwnStateDecides) {
    struct Case {
        std::uint32_t state;
        bool keepVisible;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {1, true, {"set 2", "show"}},  // auto-hide on: off, and shown
        {2, true, {"set 2", "show"}},  // always on top only: stays off
        {0, true, {"set 3"}},          // off: on, the window left visible
        {0, false, {"set 3", "hide"}}, // off, not kept visible: hidden too
    };
    for (const Case& c : cases) {
        FakeTaskbar taskbar;
        taskbar.state = c.state;
        ToggleTaskbar(taskbar, c.keepVisible);
        EXPECT_EQ(taskbar.calls, c.calls) << c.state;
    }
}

TEST(EncodeAppBarData, LittleEndianFields) {
    AppBarData d;
    d.cbSize = 36;
    d.hWnd = 0x00010203;
    d.left = -1;
    d.lParam = 3;
    const std::array<std::uint8_t, 36> expected = {36, 0, 0, 0, 3,    2,    1,    0,    0, 0, 0, 0,
                                                   0,  0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0,
                                                   0,  0, 0, 0, 0,    0,    0,    0,    3, 0, 0, 0};
    EXPECT_EQ(EncodeAppBarData(d), expected);
}

} // namespace

namespace {

TEST(EchoPageAddress, TheFirstLineReducedToItsAddress) {
    const std::pair<const char*, const char*> cases[] = {
        {"<html><body>Current IP Address: 203.0.113.7</body></html>\n", "203.0.113.7"},
        {"  Address: 203.0.113.7 \n<p>more 1.2.3.4</p>", "203.0.113.7"},
        {"Current IP Address: 203.0.113.7</body></html>", ""}, // no line feed
        {"Address: 203.0.113\n", ""},                          // fewer than three dots
        {"203.0.113.7<br>\n", "203.0.113.7"},                  // no colon
        {"IP: 10.0.0.1 and more\n", "10.0.0.1 and more"},      // no "<": all after the colon
        {"a.b.c.d:\x01\x02x.y.z<\n", "x.y.z"},                 // control characters become spaces, trimmed
        {"", ""},
    };
    for (const auto& [page, caption] : cases) {
        EXPECT_EQ(EchoPageAddress(page), caption) << page;
    }
    EXPECT_EQ(EchoPageAddress("IP: " + std::string(500, '.') + "\n").size(), 64u);
    EXPECT_EQ(LocalAddressCaption("192.168.1.10"), "192.168.1.10");
    EXPECT_EQ(LocalAddressCaption(""), "");
    EXPECT_EQ(IpToolTip("192.168.1.10"), "Your IP address is 192.168.1.10");
    EXPECT_EQ(IpToolTip(""), "");
}

TEST(SocketTexts, AsTheLibrarySaysThem) {
    EXPECT_EQ(HostNameErrorText(10093),
              "Windows Sockets error  10093 has occurred. Unable to successfully get Host Name.\r\n");
    EXPECT_EQ(HostNameErrorText(-1),
              "Windows Sockets error -1 has occurred. Unable to successfully get Host Name.\r\n");
    EXPECT_EQ(SocketsNotRespondingText(), "The 32-bit Windows Socket is not responding.");
    EXPECT_EQ(SocketsMinimumText(), "This application requires a minimum of 1 supported sockets.");
    EXPECT_EQ(SocketsVersionText(1, 0), "Sockets version 1.0 is not supported by 32-bit Windows Sockets.");
    EXPECT_TRUE(MayFetch("http://127.0.0.1:8080/"));
    EXPECT_TRUE(MayFetch("HTTPS://example.org"));
    EXPECT_FALSE(MayFetch("file:///etc/passwd"));
    EXPECT_FALSE(MayFetch("ftp://example.org/"));
    EXPECT_FALSE(MayFetch("http"));
}

} // namespace
