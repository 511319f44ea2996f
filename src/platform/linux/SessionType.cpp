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
