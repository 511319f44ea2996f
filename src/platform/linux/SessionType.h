#pragma once
// Which window system the program asks Qt for. A Wayland compositor lets no
// client place its own window or keep it on top, so where an X server is
// reachable beside it (XWayland) the program runs as an X11 client, unless
// the user chose a platform.
#include <string>
#include <utility>
#include <vector>

struct SessionEnvironment {
    std::string qpaPlatform;    // QT_QPA_PLATFORM
    std::string display;        // DISPLAY
    std::string waylandDisplay; // WAYLAND_DISPLAY
    bool shmChosen = false;     // QT_XCB_NO_MITSHM is set
};

// The platform plugin to ask for ("xcb"), or empty to leave Qt its own
// choice: the user named one (QT_QPA_PLATFORM, -platform), or no X server
// is there.
std::string ChooseQtPlatform(const SessionEnvironment& env, const std::vector<std::string>& arguments);

// The variables set for Qt's start only, and removed again once the
// application is made: the platform chosen above, and pictures sent to the
// X server over its socket instead of shared memory unless the user chose.
// Shared memory costs a round trip to the server before each repaint and
// wakes a second thread for the server's answer, twice a second for a
// window that repaints a small graph once a second.
using EnvironmentVariables = std::vector<std::pair<std::string, std::string>>;
EnvironmentVariables QtStartVariables(const SessionEnvironment& env,
                                      const std::vector<std::string>& arguments);

// What a user loses where the window is a Wayland client, said once on
// standard error.
inline constexpr const char* kWaylandLimits =
    "trafalo: running as a Wayland client: the window cannot place itself or stay on top, so the saved "
    "place, "
    "the magnetic screen edges and \"Always on top\" have no effect; with XWayland (DISPLAY set) they work\n";
