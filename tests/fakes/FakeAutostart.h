#pragma once
// Keeps the session's start-up entries in a map.
#include "platform/IAutostart.h"

#include <map>

class FakeAutostart : public IAutostart {
public:
    bool add(const std::string& name, const std::string& command) override {
        if (failWrites) {
            return false;
        }
        entries[name] = command;
        return true;
    }
    bool remove(const std::string& name) override {
        entries.erase(name);
        return true;
    }
    std::map<std::string, std::string> entries;
    bool failWrites = false;
};
