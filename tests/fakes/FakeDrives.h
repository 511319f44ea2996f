#pragma once
// Drives set by the test; the volume steps answer as scripted and are recorded.
#include "platform/IDrives.h"

#include <map>
#include <vector>

class FakeDrives : public IDrives {
public:
    DriveTable scan() override { return table; }
    std::string letterOf(const std::string&) override { return programLetter; }
    std::string rootOf(const std::string& name) override { return "/media/" + name.substr(0, 1); }
    std::string systemDrive() const override { return "C:"; }

    int openVolume(const std::string& name, std::int32_t& handle, const Wait&) override {
        calls.push_back("open " + name);
        handle = errors["open"] ? -1 : 7;
        return errors["open"];
    }
    int lockVolume(std::int32_t, const Wait&) override {
        calls.push_back("lock");
        if (lockFailures > 0) {
            --lockFailures;
            return errors["lock"] ? errors["lock"] : 16;
        }
        return 0;
    }
    int dismountVolume(std::int32_t, const Wait&) override { return step("dismount"); }
    int allowMediaRemoval(std::int32_t, const Wait&) override { return step("allow"); }
    int ejectMedia(std::int32_t, const Wait&) override { return step("eject"); }
    int closeVolume(std::int32_t) override { return step("close"); }
    void removeLetter(const std::string& name) override { calls.push_back("remove " + name); }

    void set(char letter, std::int32_t type, bool ready = true) {
        table[static_cast<std::size_t>(letter - 'A')] = {type, ready};
    }

    DriveTable table;
    std::string programLetter = "C";
    std::map<std::string, int> errors; // the error a step answers with
    int lockFailures = 0;              // lock tries that fail before one succeeds
    std::vector<std::string> calls;

private:
    int step(const char* name) {
        calls.push_back(name);
        return errors[name];
    }
};
