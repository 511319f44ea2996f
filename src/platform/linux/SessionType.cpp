#include "SessionType.h"

std::string ChooseQtPlatform(const SessionEnvironment& env, const std::vector<std::string>& arguments) {
    if (!env.qpaPlatform.empty()) {
        return {};
    }
    for (const std::string& word : arguments) {
        // Qt takes "-platform NAME", with one dash or two.
        if (word == "-platform" || word == "--platform" || word.rfind("-platform=", 0) == 0 ||
            word.rfind("--platform=", 0) == 0) {
            return {};
        }
    }
    return env.display.empty() ? std::string() : std::string("xcb");
}

EnvironmentVariables QtStartVariables(const SessionEnvironment& env,
                                      const std::vector<std::string>& arguments) {
    EnvironmentVariables variables;
    const std::string platform = ChooseQtPlatform(env, arguments);
    if (!platform.empty()) {
        // Through the environment, so an X server that cannot be reached
        // still leaves Qt its fallback to Wayland.
        variables.emplace_back("QT_QPA_PLATFORM", platform + ";wayland");
    }
    if (!env.shmChosen) {
        variables.emplace_back("QT_XCB_NO_MITSHM", "1");
    }
    return variables;
}
