// The window system asked for: X11 wherever an X server is there and the
// user chose nothing; the user's choice stands. Pictures go through the X
// server's socket unless the user chose; none of it reaches the programs
// the widget starts.
#include "platform/linux/SessionType.h"
#include "platform/Platform.h"

#include <cstdlib>
#include <gtest/gtest.h>

TEST(ChooseQtPlatform, X11WhereAnXServerIsThereUnlessTheUserChose) {
    struct Case {
        const char* qpa;
        const char* display;
        const char* wayland;
        std::vector<std::string> arguments;
        const char* want;
    };
    const Case cases[] = {
        {"", ":0", "wayland-0", {"trafalo"}, "xcb"},                           // XWayland beside a compositor
        {"", ":0", "", {"trafalo"}, "xcb"},                                    // a plain X11 session
        {"", "", "wayland-0", {"trafalo"}, ""},                                // Wayland only: Qt's choice
        {"", "", "", {"trafalo"}, ""},                                         // nothing: Qt says why
        {"wayland", ":0", "wayland-0", {"trafalo"}, ""},                       // the user's variable
        {"", ":0", "wayland-0", {"trafalo", "-platform", "wayland"}, ""},      // the user's option
        {"", ":0", "wayland-0", {"trafalo", "--platform=wayland"}, ""},        // written with two dashes
        {"", ":0", "wayland-0", {"trafalo", "/tray", "-display", ":1"}, "xcb"} // other options do not count
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChooseQtPlatform({c.qpa, c.display, c.wayland}, c.arguments), c.want)
            << c.qpa << " " << c.display << " " << c.wayland << " " << c.arguments.size();
    }
}

TEST(QtStartVariables, ThePlatformAndTheSocketForQtsStartOnly) {
    const std::vector<std::string> plain{"trafalo"};
    EXPECT_EQ(QtStartVariables({"", ":0", "", false}, plain),
              (EnvironmentVariables{{"QT_QPA_PLATFORM", "xcb;wayland"}, {"QT_XCB_NO_MITSHM", "1"}}));
    EXPECT_EQ(QtStartVariables({"wayland", ":0", "", true}, plain), EnvironmentVariables{});

    ::unsetenv("QT_QPA_PLATFORM");
    ::unsetenv("QT_XCB_NO_MITSHM");
    ::setenv("DISPLAY", ":0", 1);
    char program[] = "trafalo";
    char* argv[] = {program, nullptr};
    chooseWindowSystem(1, argv);
    EXPECT_STREQ(std::getenv("QT_QPA_PLATFORM"), "xcb;wayland");
    EXPECT_STREQ(std::getenv("QT_XCB_NO_MITSHM"), "1");
    windowSystemChosen();
    EXPECT_EQ(std::getenv("QT_QPA_PLATFORM"), nullptr);
    EXPECT_EQ(std::getenv("QT_XCB_NO_MITSHM"), nullptr);
}
