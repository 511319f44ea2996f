// The window system asked for: X11 wherever an X server is there and the
// user chose nothing; the user's choice stands.
#include "platform/linux/SessionType.h"

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
